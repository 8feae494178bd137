#pragma once
// Browse's first step in the process picker: the installed applications by their menu names, with
// a filter, and a way on to a program file instead.
#include <QDialog>
#include <QString>
#include <vector>

#include "platform/desktop_entries.h"

class QLineEdit;
class QListWidget;
class QPushButton;

namespace tallowby::ui {

class ApplicationChooser : public QDialog {
    Q_OBJECT

  public:
    // Lists the entries sorted by menu name (ignoring case), each as "Name   [id]".
    ApplicationChooser(const std::vector<platform::DesktopEntry>& applications, QWidget* parent = nullptr);

    // After exec(): the id of the application chosen with OK or a double click; empty when the
    // user wants a program file instead (fileWanted) or cancelled.
    const QString& chosenId() const { return chosenId_; }
    bool fileWanted() const { return fileWanted_; }

    QLineEdit* edt_filter = nullptr;
    QListWidget* lb_applications = nullptr;
    QPushButton* btn_choose = nullptr;
    QPushButton* btn_programFile = nullptr;
    QPushButton* btn_cancel = nullptr;

  public slots:
    void edt_filterChange();
    void btn_chooseClick();
    void btn_programFileClick();

  private:
    QString chosenId_;
    bool fileWanted_ = false;
};

} // namespace tallowby::ui
