#pragma once
// The About box: the program's name and version.
#include <QDialog>

class QLabel;
class QPushButton;

namespace tallowby::ui {

class TfrmAbout : public QDialog {
    Q_OBJECT

  public:
    explicit TfrmAbout(QWidget* parent = nullptr);

    QLabel* lb_title = nullptr;
    QLabel* Label2 = nullptr;
    QPushButton* Button1 = nullptr;

  public slots:
    void Button1Click();
};

} // namespace tallowby::ui
