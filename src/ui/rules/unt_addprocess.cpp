#include "ui/rules/unt_addprocess.h"

#include <QByteArray>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QResizeEvent>
#include <QShowEvent>
#include <QVBoxLayout>
#include <algorithm>
#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/edit_rules.h"
#include "engine/program_choice.h"
#include "os/files.h"
#include "platform/window_names.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/local_text.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/rules/application_chooser.h"
#include "ui/rules/installed_programs.h"

namespace tallowby::ui {
namespace {

// Each listed title keeps the window it came from: two windows can share a title, and the one the
// user picked is the one whose program is added.
constexpr int kWindowRole = Qt::UserRole;
constexpr int kPidRole = Qt::UserRole + 1;

constexpr Qt::WindowFlags kSizeableDialogFlags = Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                                                 Qt::WindowSystemMenuHint | Qt::WindowMaximizeButtonHint |
                                                 Qt::WindowCloseButtonHint;

constexpr int kSelectedListWidth = 180;
constexpr int kArrowWidth = 40;

// Wine's desktop window, like Windows' own, carries this title; it is no program to block.
const QString kDesktopTitle = QStringLiteral("Program Manager");

std::function<QString()>& fileChooser() {
    static std::function<QString()> chooser;
    return chooser;
}

QListWidgetItem* selectedItem(const QListWidget* list) {
    const QList<QListWidgetItem*> items = list->selectedItems();
    return items.isEmpty() ? nullptr : items.first();
}

QString cutTitle(const std::string& title) {
    QString text = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    if (text.size() <= Tfrm_AddProcess::kTitleLength)
        return text;
    // Never half a character: a pair of surrogates stays whole or goes.
    qsizetype length = Tfrm_AddProcess::kTitleLength;
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

std::filesystem::path localPath(const QString& path) {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
}

} // namespace

Tfrm_AddProcess::Tfrm_AddProcess(QListWidget* target, platform::WindowLister& windows,
                                 platform::ProcessLister& processes, platform::ProgramNamer& namer,
                                 platform::DesktopEntries& entries, QWidget* parent)
    : Tfrm_AddProcess(Traits{.objectName = "frm_AddProcess",
                             .caption = QStringLiteral("Add Process - Session events"),
                             .programsCaption = QStringLiteral("Programs on Running"),
                             .refreshOnShow = true,
                             .focusAfterReset = true,
                             .cancelKeeps = true},
                      target, windows, processes, namer, entries, parent) {}

Tfrm_AddProcess::Tfrm_AddProcess(const Traits& traits, QListWidget* target, platform::WindowLister& windows,
                                 platform::ProcessLister& processes, platform::ProgramNamer& namer,
                                 platform::DesktopEntries& entries, QWidget* parent)
    : QDialog(parent, kSizeableDialogFlags), traits_(traits), target_(target), windows_(windows),
      processes_(processes), namer_(namer), entries_(entries) {
    setObjectName(QString::fromLatin1(traits_.objectName));
    setWindowTitle(traits_.caption);
    setModal(true);
    buildControls();
    setMinimumSize(kDesignWidth, kDesignHeight);
    resize(kDesignWidth, kDesignHeight);
    GetAllProgress();
}

void Tfrm_AddProcess::buildControls() {
    TB_CREATE(gb_SelectedProgress, QStringLiteral("Process Selected"));
    gb_SelectedProgress->setFixedWidth(kSelectedListWidth);
    TB_CREATE(lb_processlist);
    (new QVBoxLayout(gb_SelectedProgress))->addWidget(lb_processlist);

    TB_CREATE(btn_select, QStringLiteral("<<"));
    setHint(btn_select, QStringLiteral("Add to selected list"));
    btn_select->setAccessibleName(QStringLiteral("Add to selected list"));
    TB_CREATE(btn_delete, QStringLiteral(">>"));
    setHint(btn_delete, QStringLiteral("Remove process"));
    btn_delete->setAccessibleName(QStringLiteral("Remove process"));
    auto* arrows = new QVBoxLayout;
    arrows->addStretch();
    for (QPushButton* arrow : {btn_select, btn_delete}) {
        arrow->setFixedWidth(kArrowWidth);
        arrows->addWidget(arrow);
    }
    arrows->addStretch();

    TB_CREATE(gb_programlist, traits_.programsCaption);
    TB_CREATE(lb_programlist);
    // A long title gives way in its middle: the name "<<" records, at the end, stays in sight.
    lb_programlist->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    lb_programlist->setTextElideMode(Qt::ElideMiddle);
    (new QVBoxLayout(gb_programlist))->addWidget(lb_programlist);

    auto* lists = new QHBoxLayout;
    lists->addWidget(gb_SelectedProgress);
    lists->addLayout(arrows);
    lists->addWidget(gb_programlist, 1);

    TB_CREATE(fb_type, QStringLiteral("Process Adding"));
    TB_CREATE(edt_progress, QStringLiteral("example-program"));
    edt_progress->setAccessibleName(QStringLiteral("Process name"));
    setHint(edt_progress, QStringLiteral("Type process here manually"));
    TB_CREATE(btn_add, QStringLiteral("Add"));
    btn_add->setDefault(true);
    TB_CREATE(btn_cancel, QStringLiteral("Reset"));
    TB_CREATE(btn_browse, QStringLiteral("Browse"));
    setHint(btn_browse, QStringLiteral("Browse to find out application name"));
    auto* typing = new QHBoxLayout(fb_type);
    typing->addWidget(edt_progress, 1);
    typing->addWidget(btn_add);
    typing->addWidget(btn_cancel);
    typing->addWidget(btn_browse);

    TB_CREATE(btn_save, QStringLiteral("OK"));
    setHint(btn_save, QStringLiteral("Save selected process"));
    TB_CREATE(btn_refresh, QStringLiteral("Refresh"));
    setHint(btn_refresh, QStringLiteral("Refresh Program on running"));
    TB_CREATE(bnt_close, QStringLiteral("Cancel"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btn_save);
    buttons->addWidget(btn_refresh);
    buttons->addWidget(bnt_close);

    auto* window = new QVBoxLayout(this);
    window->addLayout(lists, 1);
    window->addWidget(fb_type);
    window->addLayout(buttons);

    // Enter adds the typed name wherever the keyboard is; the other buttons answer to Space.
    for (QPushButton* button : findChildren<QPushButton*>())
        button->setAutoDefault(button == btn_add);

    connect(btn_select, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_selectClick);
    connect(lb_programlist, &QListWidget::itemDoubleClicked, this, &Tfrm_AddProcess::lb_programlistDblClick);
    connect(btn_delete, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_deleteClick);
    connect(btn_add, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_addClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_cancelClick);
    connect(btn_browse, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_browseClick);
    connect(btn_save, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_saveClick);
    connect(bnt_close, &QPushButton::clicked, this, &Tfrm_AddProcess::bnt_closeClick);
    connect(btn_refresh, &QPushButton::clicked, this, &Tfrm_AddProcess::btn_refreshClick);
}

QList<QWidget*> Tfrm_AddProcess::editingControls() {
    return {btn_save, btn_select, btn_delete, btn_add, btn_browse};
}

bool Tfrm_AddProcess::editable() const {
    return btn_save->isEnabled();
}

void Tfrm_AddProcess::setFileChooser(std::function<QString()> chooser) {
    fileChooser() = std::move(chooser);
}

void Tfrm_AddProcess::showEvent(QShowEvent* event) {
    // A window restored from the task bar is shown again by the window system; only a new showing
    // starts over from the main window's list.
    if (!event->spontaneous()) {
        centreOnScreen(this);
        FormShow();
    }
    QDialog::showEvent(event);
}

void Tfrm_AddProcess::FormShow() {
    lb_processlist->clear();
    for (int row = 0; row < target_->count(); ++row)
        lb_processlist->addItem(target_->item(row)->clone()); // with the whole entry of a long one
    if (traits_.refreshOnShow)
        GetAllProgress();
}

void Tfrm_AddProcess::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        return;
    // Just wider than designed gains nothing but a cramped selection list: it snaps back.
    const QSize size = event->size();
    const int width = size.width() <= kSnapWidth ? kDesignWidth : size.width();
    const int height = std::max(size.height(), kDesignHeight);
    if (width != size.width() || height != size.height())
        resize(width, height);
}

void Tfrm_AddProcess::keyPressEvent(QKeyEvent* event) {
    // Esc is the Cancel button, with what Cancel does, not a bare close.
    if (event->matches(QKeySequence::Cancel)) {
        bnt_closeClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void Tfrm_AddProcess::GetAllProgress() {
    lb_programlist->clear();
    const QString ownCaption = windowTitle();
    for (const platform::TopLevelWindow& window : windows_.topLevelWindows()) {
        const QString title = cutTitle(window.title);
        if (title.isEmpty() || !window.visible || title == kDesktopTitle || title == ownCaption)
            continue;
        // The name shows what "<<" adds, which is often not what the title says ("soffice.bin" or
        // "libreoffice-writer" for "Untitled 1 - LibreOffice Writer").
        const std::string name = namer_.namesOf(window).recorded();
        const QString label = name.empty() ? title : QStringLiteral("%1   [%2]").arg(title, fromBytes(name));
        auto* item = new QListWidgetItem(label, lb_programlist);
        item->setData(kWindowRole, QVariant::fromValue<qulonglong>(window.id));
        item->setData(kPidRole, QVariant::fromValue<uint>(window.pid));
    }
}

void Tfrm_AddProcess::btn_selectClick() {
    const QListWidgetItem* picked = selectedItem(lb_programlist);
    if (!picked || !editable())
        return;
    const auto id = static_cast<platform::WindowId>(picked->data(kWindowRole).toULongLong());
    const auto pid = static_cast<platform::ProcessId>(picked->data(kPidRole).toUInt());
    const std::vector<platform::TopLevelWindow> windows = windows_.topLevelWindows();
    const auto window =
        std::ranges::find_if(windows, [&](const platform::TopLevelWindow& w) { return w.id == id; });
    // The window closed since the listing, or its id now belongs to another program's window.
    if (window == windows.end() || window->pid == platform::kNoProcess || window->pid != pid)
        return;
    const std::string name = namer_.namesOf(*window).recorded();
    if (!name.empty())
        lb_processlist->addItem(fromBytes(name));
}

void Tfrm_AddProcess::lb_programlistDblClick() {
    if (const QListWidgetItem* picked = selectedItem(lb_programlist))
        showMessage(this, picked->text());
}

void Tfrm_AddProcess::btn_deleteClick() {
    const QListWidgetItem* picked = selectedItem(lb_processlist);
    if (!picked || !editable())
        return;
    const int row = lb_processlist->row(picked);
    delete lb_processlist->takeItem(row);
    // The selection stays where it was, so ">>" pressed again removes the next entry.
    if (lb_processlist->count() == 0)
        lb_processlist->clearSelection();
    else
        lb_processlist->setCurrentRow(std::min(row, lb_processlist->count() - 1));
}

void Tfrm_AddProcess::btn_addClick() {
    if (!editable())
        return;
    const std::string text = engine::trimEntry(toBytes(edt_progress->text()));
    if (const auto failure = engine::processEntryFailure(text)) {
        showMessage(this, fromBytes(*failure));
        return;
    }
    const bool browsed = !browsed_.isEmpty() && fromBytes(text) == browsed_;
    const std::string name = browsed || answersToSomething(text) ? text : confirmUnknown(text);
    // The rules may have started again while the question was open.
    if (name.empty() || !editable())
        return;
    lb_processlist->addItem(fromBytes(name));
    edt_progress->clear();
    browsed_.clear();
}

bool Tfrm_AddProcess::answersToSomething(const std::string& name) {
    if (installedApplicationNamed(name, entries_.applications()))
        return true;
    if (programIn(name, programFolders()))
        return true;
    for (const platform::ProcessInfo& process : processes_.snapshot())
        if (engine::sameName(process.name, name))
            return true;
    for (const platform::TopLevelWindow& window : windows_.topLevelWindows())
        for (const std::string& known : namer_.namesOf(window).all)
            if (engine::sameName(known, name))
                return true;
    return false;
}

std::string Tfrm_AddProcess::confirmUnknown(const std::string& typed) {
    std::vector<std::string> known;
    for (const platform::DesktopEntry& entry : entries_.applications()) {
        platform::addName(known, entry.id);
        platform::addName(known, entry.program);
    }
    for (const platform::TopLevelWindow& window : windows_.topLevelWindows())
        for (const std::string& name : namer_.namesOf(window).all)
            platform::addName(known, name);
    for (const std::string& name : programsIn(programFolders()))
        platform::addName(known, name);
    const std::optional<std::string> meant = engine::closestName(typed, known);

    QString question =
        QStringLiteral("No program named \"%1\" is installed or running.").arg(fromBytes(typed));
    if (focusMode_)
        question +=
            QStringLiteral(" In Focus mode its windows are not spared: a program listed under a name it "
                           "does not answer to is minimised too.");
    if (!meant)
        return askYesNo(this, question + QStringLiteral(" Add it anyway?")) ? typed : std::string();
    const std::optional<bool> answer =
        askYesNoCancel(this, question + QStringLiteral(" Did you mean \"%1\"?").arg(fromBytes(*meant)));
    if (!answer)
        return {};
    return *answer ? *meant : typed;
}

void Tfrm_AddProcess::btn_cancelClick() {
    edt_progress->clear();
    if (traits_.focusAfterReset)
        edt_progress->setFocus();
}

QString Tfrm_AddProcess::chooseProgram() {
    if (fileChooser())
        return fileChooser()();
    return QFileDialog::getOpenFileName(this, QStringLiteral("Browse"), QStringLiteral("/usr/bin"),
                                        QStringLiteral("Programs (*)"));
}

QString Tfrm_AddProcess::chooseApplication() {
    std::vector<platform::DesktopEntry> shown;
    std::ranges::copy_if(entries_.applications(), std::back_inserter(shown),
                         [](const platform::DesktopEntry& entry) { return entry.shown; });
    // With no applications to list there is nothing to choose among but a file.
    if (!shown.empty()) {
        ApplicationChooser chooser(shown, this);
        chooser.exec();
        if (!chooser.fileWanted())
            return chooser.chosenId();
    }
    const QString chosen = chooseProgram();
    return chosen.isEmpty() ? QString() : nameOfProgramFile(chosen);
}

QString Tfrm_AddProcess::nameOfProgramFile(const QString& chosen) {
    // A link such as /usr/bin/editor is not what runs: the window sweep sees its target's name.
    std::error_code error;
    const std::filesystem::path program = std::filesystem::canonical(localPath(chosen), error);
    if (error || !std::filesystem::is_regular_file(program, error) ||
        os::accessError(program, os::Access::Run) != 0) {
        showMessage(this, QStringLiteral("Failed - %1 is not a program file.").arg(chosen));
        return {};
    }
    // A launcher ("libreoffice", a script) hands over to another program, or runs under an
    // interpreter: the application whose menu entry runs it is what the user recognises, and what
    // its windows answer to.
    if (const std::string application = applicationNameOf(program, entries_.applications(), programFolders());
        !application.empty())
        return fromBytes(application);
    return QFile::decodeName(QByteArray::fromStdString(program.filename().string()));
}

void Tfrm_AddProcess::btn_browseClick() {
    if (!editable())
        return;
    const QString name = chooseApplication();
    if (name.isEmpty() || !editable())
        return;
    edt_progress->setText(name);
    browsed_ = name;
}

void Tfrm_AddProcess::copyBack() {
    target_->clear();
    for (int row = 0; row < lb_processlist->count(); ++row)
        target_->addItem(lb_processlist->item(row)->clone());
}

void Tfrm_AddProcess::btn_saveClick() {
    if (editable())
        copyBack();
    accept();
}

void Tfrm_AddProcess::bnt_closeClick() {
    if (traits_.cancelKeeps && editable())
        copyBack();
    reject();
}

void Tfrm_AddProcess::btn_refreshClick() {
    GetAllProgress();
}

} // namespace tallowby::ui
