#include "ui/rules/application_chooser.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "ui/common/fixed_dialog.h"
#include "ui/common/named_widgets.h"

namespace tallowby::ui {
namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kWidth = 460;
constexpr int kHeight = 420;

QString utf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

ApplicationChooser::ApplicationChooser(const std::vector<platform::DesktopEntry>& applications,
                                       QWidget* parent)
    : QDialog(parent, kFixedDialogFlags) {
    setObjectName(QStringLiteral("frm_chooseApplication"));
    setWindowTitle(QStringLiteral("Browse - Installed applications"));
    setModal(true);

    TB_CREATE(edt_filter);
    edt_filter->setPlaceholderText(QStringLiteral("Filter"));
    edt_filter->setAccessibleName(QStringLiteral("Filter"));
    setHint(edt_filter, QStringLiteral("Type part of the application's name"));
    TB_CREATE(lb_applications);
    lb_applications->setAccessibleName(QStringLiteral("Installed applications"));
    TB_CREATE(btn_choose, QStringLiteral("OK"));
    TB_CREATE(btn_programFile, QStringLiteral("Program file..."));
    setHint(btn_programFile, QStringLiteral("Choose a program file instead"));
    TB_CREATE(btn_cancel, QStringLiteral("Cancel"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btn_programFile);
    buttons->addStretch();
    buttons->addWidget(btn_choose);
    buttons->addWidget(btn_cancel);
    auto* window = new QVBoxLayout(this);
    window->addWidget(edt_filter);
    window->addWidget(lb_applications, 1);
    window->addLayout(buttons);
    btn_choose->setDefault(true);
    setFixedSize(kWidth, kHeight);

    std::vector<const platform::DesktopEntry*> sorted;
    for (const platform::DesktopEntry& entry : applications)
        sorted.push_back(&entry);
    std::ranges::sort(sorted, [](const platform::DesktopEntry* a, const platform::DesktopEntry* b) {
        const int order = utf8(a->name).compare(utf8(b->name), Qt::CaseInsensitive);
        return order != 0 ? order < 0 : a->id < b->id;
    });
    for (const platform::DesktopEntry* entry : sorted) {
        const QString id = utf8(entry->id);
        const QString name = entry->name.empty() ? id : utf8(entry->name);
        auto* item = new QListWidgetItem(QStringLiteral("%1   [%2]").arg(name, id), lb_applications);
        item->setData(kIdRole, id);
    }
    lb_applications->setCurrentRow(0);

    connect(edt_filter, &QLineEdit::textChanged, this, &ApplicationChooser::edt_filterChange);
    connect(lb_applications, &QListWidget::itemDoubleClicked, this, &ApplicationChooser::btn_chooseClick);
    connect(btn_choose, &QPushButton::clicked, this, &ApplicationChooser::btn_chooseClick);
    connect(btn_programFile, &QPushButton::clicked, this, &ApplicationChooser::btn_programFileClick);
    connect(btn_cancel, &QPushButton::clicked, this, &ApplicationChooser::reject);
    edt_filter->setFocus();
}

void ApplicationChooser::edt_filterChange() {
    const QString wanted = edt_filter->text().trimmed();
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < lb_applications->count(); ++row) {
        QListWidgetItem* item = lb_applications->item(row);
        const bool matches = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (matches && !first)
            first = item;
    }
    // The keyboard goes on from the filter to the first application left, so Enter takes it.
    lb_applications->setCurrentItem(first);
}

void ApplicationChooser::btn_chooseClick() {
    const QListWidgetItem* item = lb_applications->currentItem();
    if (!item || item->isHidden())
        return;
    chosenId_ = item->data(kIdRole).toString();
    accept();
}

void ApplicationChooser::btn_programFileClick() {
    fileWanted_ = true;
    accept();
}

} // namespace tallowby::ui
