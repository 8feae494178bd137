#pragma once
// The website dialog ("Website to be locked"): one website name appended to a website list box.
// The session panel and the whole-day panel each have one; the opener stores the list afterwards,
// however the dialog was closed.
#include <QDialog>

#include "ui/common/run_state_controls.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tallowby::ui {

class Tfrm_domainAdd : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    // The sample each opening starts from, under the domain reserved for examples.
    static constexpr const char* kSampleWebsite = "www.example.com";

    explicit Tfrm_domainAdd(QListWidget* target, QWidget* parent = nullptr);

    QList<QWidget*> editingControls() override;

    QLineEdit* edt_domain = nullptr;
    QPushButton* btn_add = nullptr;
    QPushButton* btn_reset = nullptr;
    QPushButton* btn_cancel = nullptr;

  public slots:
    void btn_addClick();
    void btn_resetClick();
    void btn_cancelClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    QListWidget* target_;
};

// The same dialog for the whole-day website list.
class Tfrm_WholeDayDomainAdd : public Tfrm_domainAdd {
    Q_OBJECT

  public:
    explicit Tfrm_WholeDayDomainAdd(QListWidget* target, QWidget* parent = nullptr);
};

} // namespace tallowby::ui
