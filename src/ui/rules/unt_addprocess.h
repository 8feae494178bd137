#pragma once
// The process picker of the session rules: builds a working copy of the main window's process list,
// from the programs that have windows open now or from names typed or browsed to, and hands it back
// on OK. Created once at start-up and shown modally whenever the list is edited. A name that no
// installed or running program answers to is not refused, but asked about before it is added.
#include <QDialog>
#include <QList>
#include <QString>
#include <filesystem>
#include <functional>
#include <string>

#include "platform/desktop_entries.h"
#include "platform/process_list.h"
#include "platform/program_names.h"
#include "platform/window_list.h"
#include "ui/common/run_state_controls.h"

class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace tallowby::ui {

class Tfrm_AddProcess : public QDialog, public RunStateControls {
    Q_OBJECT

  public:
    // target is the main window's list the picker edits; it must outlive the picker. The namer tells
    // the name "<<" records for a window and the names running programs answer to; the entries are
    // the installed applications Browse offers and typed names are checked against.
    Tfrm_AddProcess(QListWidget* target, platform::WindowLister& windows, platform::ProcessLister& processes,
                    platform::ProgramNamer& namer, platform::DesktopEntries& entries,
                    QWidget* parent = nullptr);

    // OK writes the rules' list, so it waits until the rules stop; so does every control that
    // changes the working copy. A picker left open across the end of a pause turns read-only, and
    // its OK and Cancel then hand nothing back.
    QList<QWidget*> editingControls() override;

    // Tests: when set, Browse asks this instead of opening a file dialog (an empty answer is a
    // cancelled dialog); nullptr restores the dialog.
    static void setFileChooser(std::function<QString()> chooser);

    // The list being edited belongs to a rule in Focus mode; the panel says so before showing it.
    void setFocusMode(bool focus) { focusMode_ = focus; }

    // Lists the visible top-level windows of other programs, topmost first, each as its title and
    // the name "<<" records for it: "Untitled 1 - LibreOffice Writer   [libreoffice-writer]", or
    // "[xterm]" for an untitled window.
    void GetAllProgress();

    // The window never gets smaller than this, and a width up to kSnapWidth snaps back to it.
    static constexpr int kDesignWidth = 540;
    static constexpr int kDesignHeight = 380;
    static constexpr int kSnapWidth = 640;
    // Longer titles are cut: the start of a title is enough to recognise a program by.
    static constexpr int kTitleLength = 254;

    QGroupBox* gb_programlist = nullptr;
    QListWidget* lb_programlist = nullptr;
    QGroupBox* gb_SelectedProgress = nullptr;
    QListWidget* lb_processlist = nullptr;
    QPushButton* btn_select = nullptr;
    QPushButton* btn_delete = nullptr;
    QGroupBox* fb_type = nullptr;
    QLineEdit* edt_progress = nullptr;
    QPushButton* btn_add = nullptr;
    QPushButton* btn_cancel = nullptr;
    QPushButton* btn_browse = nullptr;
    QPushButton* btn_save = nullptr;
    QPushButton* btn_refresh = nullptr;
    QPushButton* bnt_close = nullptr;

  public slots:
    void btn_selectClick();
    void lb_programlistDblClick();
    void btn_deleteClick();
    void btn_addClick();
    void btn_cancelClick();
    void btn_browseClick();
    void btn_saveClick();
    void bnt_closeClick();
    void btn_refreshClick();

  protected:
    // Where the two pickers differ; everything else they share.
    struct Traits {
        const char* objectName;
        QString caption;
        QString programsCaption;
        // Showing lists the windows afresh (otherwise only creation and Refresh do).
        bool refreshOnShow;
        // Reset leaves the keyboard in the typed name.
        bool focusAfterReset;
        // Cancel keeps the edits, like OK (only the close box drops them).
        bool cancelKeeps;
    };

    Tfrm_AddProcess(const Traits& traits, QListWidget* target, platform::WindowLister& windows,
                    platform::ProcessLister& processes, platform::ProgramNamer& namer,
                    platform::DesktopEntries& entries, QWidget* parent);

    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildControls();
    void FormShow();
    void copyBack();
    // The rules are stopped (or paused), so the list may change.
    bool editable() const;
    QString chooseProgram();
    // Browse's own steps: an installed application's id, or a program file's name; empty when
    // nothing was chosen.
    QString chooseApplication();
    QString nameOfProgramFile(const QString& chosen);
    // Whether the name reaches windows: an installed application or a running program answers to
    // it or to a name it leads to, or it leads to a program that can own windows.
    bool leadsSomewhere(const std::string& name);
    // The name to add for a typed one that reaches nothing, after asking; empty for none.
    std::string confirmUnknown(const std::string& typed);

    Traits traits_;
    QListWidget* target_;
    platform::WindowLister& windows_;
    platform::ProcessLister& processes_;
    platform::ProgramNamer& namer_;
    platform::DesktopEntries& entries_;
    bool focusMode_ = false;
    // What Browse put into the typed name, and whether the file it came from leads to a program
    // (a file off the search path cannot be followed by its name alone).
    QString browsed_;
    bool browsedLeads_ = false;
};

} // namespace tallowby::ui
