#pragma once
// The profile manager ("Profiles"): lists the profiles, adds, copies, removes and renames them, and
// makes one the default, which switches the whole program to it.
#include <QDialog>

#include "ui/common/rule_book.h"
#include "ui/common/run_state_controls.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace tallowby::store {
struct ProfileChange;
}

namespace tallowby::ui {

class Tfrm_profiles : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    explicit Tfrm_profiles(RuleBook& book, QWidget* parent = nullptr);

    QList<QWidget*> editingControls() override;

    // Shows ProfileLines and the default profile, whose row is selected.
    void refresh();

    QLabel* Label1 = nullptr;
    QLabel* lb_default = nullptr;
    QGroupBox* gb_profiles = nullptr;
    QListWidget* lbox_profilelist = nullptr;
    QPushButton* btn_add = nullptr;
    QPushButton* btn_copy = nullptr;
    QPushButton* btn_remove = nullptr;
    QPushButton* btn_rename = nullptr;
    QPushButton* btn_default = nullptr;
    QPushButton* btn_exit = nullptr;

  public slots:
    void btn_addClick();
    void btn_copyClick();
    void btn_removeClick();
    void btn_renameClick();
    void btn_defaultClick();
    void btn_exitClick();

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    void buildControls();
    // The selected row, -1 when none is.
    int selectedRow() const;
    QString askNewName();
    // Shows why a change was refused, or writes the list files it needs and refreshes; a list file
    // that cannot be written (the book has told the user) takes the change back.
    void apply(store::ProfileChange& change);

    RuleBook& book_;
};

} // namespace tallowby::ui
