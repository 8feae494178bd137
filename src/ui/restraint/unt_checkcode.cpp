#include "ui/restraint/unt_checkcode.h"

#include <QEventLoop>
#include <QFont>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <utility>

#include "engine/check_code.h"
#include "ui/common/fixed_dialog.h"
#include "ui/common/message_box.h"
#include "ui/common/named_widgets.h"
#include "ui/common/pop_ups.h"

namespace tallowby::ui {
namespace {

// Fixed geometry: the dialog follows the code's width, so it is placed by hand after each code.
constexpr int kLeft = 13;
constexpr int kTop = 14;
constexpr int kRowGap = 10;
constexpr int kButtonGap = 14;
constexpr int kBottom = 12;
constexpr int kButtonWidth = 72; // leaves a small gap at the fixed 76-pixel step between buttons
constexpr int kClientPadding = 30;
constexpr int kEditPadding = 5;

const QString kMindHint = QStringLiteral("Please mind pipe symbol, uppercase i, lowercase L");

QFont codeFont() {
    // A code is copied by eye, character by character: a monospaced face whose look-alikes differ
    // (l with a tail, I with serifs, 1 with a flag, | a plain bar; 0 narrower than O and marked).
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                      QStringLiteral("Noto Sans Mono")});
    font.setStyleHint(QFont::Monospace);
    font.setPixelSize(13);
    return font;
}

std::string generatedCode(int count) {
    return engine::Checkcode(count, engine::checkCodeSeedFromCounter());
}

struct Route {
    const QString& purpose;
    bool CheckGuard::*flag;
};

// The purposes in the order they are tested.
const Route kRoutes[] = {
    {purpose::OptionsSave, &CheckGuard::OptionsSaveConfirmed},
    {purpose::Exit, &CheckGuard::ExitConfirmed},
    {purpose::Stop, &CheckGuard::StopConfirmed},
    {purpose::ShutdownCancel, &CheckGuard::ShutdownCancelConfirmed},
    {purpose::Pause, &CheckGuard::PauseConfirmed},
};

} // namespace

Tfrm_checkcode::Tfrm_checkcode(CheckGuard& guard, LengthText lengthText, CodeSource codeSource,
                               QWidget* parent)
    : QDialog(parent, kFixedDialogFlags), guard_(guard), lengthText_(std::move(lengthText)),
      codeSource_(codeSource ? std::move(codeSource) : generatedCode) {
    if (!lengthText_)
        lengthText_ = [] { return std::to_string(kDefaultCodeLength); };
    setObjectName(QStringLiteral("frm_checkcode"));
    setModal(true);
    buildControls();
}

void Tfrm_checkcode::buildControls() {
    const QFont font = codeFont();

    TB_CREATE(lb_checkcode, this);
    lb_checkcode->setFont(font);
    // Plain text on one line: a code holds "<" and ">", which must never be read as markup, and the
    // label must offer no way to select or copy it.
    lb_checkcode->setTextFormat(Qt::PlainText);
    lb_checkcode->setWordWrap(false);
    lb_checkcode->setTextInteractionFlags(Qt::NoTextInteraction);
    lb_checkcode->setContextMenuPolicy(Qt::NoContextMenu);
    lb_checkcode->setFocusPolicy(Qt::NoFocus);
    setHint(lb_checkcode, kMindHint);

    TB_CREATE(edt_checkcode, this);
    edt_checkcode->setFont(font);
    edt_checkcode->setMaxLength(kMaxCodeLength);
    setHint(edt_checkcode, QStringLiteral("Please type upon Checkcode here"));

    TB_CREATE(btn_OK, QStringLiteral("OK"), this);
    btn_OK->setDefault(true);
    btn_OK->setAutoDefault(true);
    TB_CREATE(btn_cancel, QStringLiteral("Cancel"), this);
    btn_cancel->setAutoDefault(false);
    TB_CREATE(btn_retry, QStringLiteral("Refresh"), this);
    btn_retry->setAutoDefault(false);
    setHint(btn_retry, QStringLiteral("Reset checkcode - ") + kMindHint);

    connect(btn_OK, &QPushButton::clicked, this, &Tfrm_checkcode::btn_OKClick);
    connect(btn_cancel, &QPushButton::clicked, this, &Tfrm_checkcode::btn_cancelClick);
    connect(btn_retry, &QPushButton::clicked, this, &Tfrm_checkcode::btn_retryClick);
    setTabOrder(edt_checkcode, btn_OK);
    setTabOrder(btn_OK, btn_cancel);
    setTabOrder(btn_cancel, btn_retry);
}

void Tfrm_checkcode::setReinvoke(const QString& purpose, std::function<void()> action) {
    reinvoke_.insert(purpose, std::move(action));
}

int Tfrm_checkcode::codeLength(const std::string& lengthText) {
    bool isNumber = false;
    const qlonglong value = QString::fromLatin1(lengthText.data(), static_cast<qsizetype>(lengthText.size()))
                                .trimmed()
                                .toLongLong(&isNumber);
    if (!isNumber)
        return kDefaultCodeLength;
    return static_cast<int>(std::clamp<qlonglong>(value, 0, kMaxCodeLength));
}

bool Tfrm_checkcode::ask(const QString& purpose, QWidget* asker) {
    QWidget* const owner = ownerFor(asker, this);
    // The earlier request's loop ends once this one's has.
    if (isVisible())
        reject();
    const int request = ++requests_;
    QWidget* const earlierOwner = parentWidget();
    openFor(this, owner);
    guard_.CheckPurpose = purpose;
    setResult(0);

    // Not exec(): a request that takes over from another runs its own loop inside the other's.
    QEventLoop loop;
    const QMetaObject::Connection ended = connect(this, &QDialog::finished, &loop, &QEventLoop::quit);
    show();
    if (isVisible())
        loop.exec(QEventLoop::DialogExec);
    disconnect(ended);
    const bool confirmed = request == requests_ && result() == QDialog::Accepted;
    // Owned by no window between requests: an owner that goes away must not take the dialog along.
    if (!isVisible() && parentWidget() != earlierOwner)
        setParent(earlierOwner, windowFlags());
    return confirmed;
}

void Tfrm_checkcode::showEvent(QShowEvent* event) {
    shownPurpose_ = guard_.CheckPurpose;
    FormShow();
    QDialog::showEvent(event);
}

void Tfrm_checkcode::FormShow() {
    btn_retryClick();
    setWindowTitle(QStringLiteral("Check code - ") + QString::fromLocal8Bit(lengthText_()) +
                   QStringLiteral(" bits"));
    centreOnScreen(this);
}

void Tfrm_checkcode::btn_retryClick() {
    const std::string code = codeSource_(codeLength(lengthText_()));
    lb_checkcode->setText(QString::fromLatin1(code.data(), static_cast<qsizetype>(code.size())));
    placeControls();
    edt_checkcode->clear();
    edt_checkcode->setFocus();
}

void Tfrm_checkcode::placeControls() {
    const int labelWidth = lb_checkcode->sizeHint().width();
    const int labelHeight = lb_checkcode->sizeHint().height();
    int clientWidth = labelWidth + kClientPadding;
    int editWidth = labelWidth + kEditPadding;
    if (clientWidth < kMinimumWidth) {
        clientWidth = kMinimumWidth;
        editWidth = kMinimumEditWidth;
    }
    lb_checkcode->setGeometry(kLeft, kTop, labelWidth, labelHeight);
    const int editTop = kTop + labelHeight + kRowGap;
    const int editHeight = edt_checkcode->sizeHint().height();
    edt_checkcode->setGeometry(kLeft, editTop, editWidth, editHeight);

    const int buttonTop = editTop + editHeight + kButtonGap;
    const int buttonHeight = btn_OK->sizeHint().height();
    const int cancelLeft = (clientWidth - kButtonWidth + 1) / 2; // rounded half
    btn_cancel->setGeometry(cancelLeft, buttonTop, kButtonWidth, buttonHeight);
    btn_OK->setGeometry(cancelLeft - kButtonStep, buttonTop, kButtonWidth, buttonHeight);
    btn_retry->setGeometry(cancelLeft + kButtonStep, buttonTop, kButtonWidth, buttonHeight);

    setFixedSize(clientWidth, buttonTop + buttonHeight + kBottom);
}

QList<QWidget*> Tfrm_checkcode::enabledWhenStopped() {
    return {btn_OK};
}

void Tfrm_checkcode::btn_OKClick() {
    if (edt_checkcode->text() != lb_checkcode->text()) {
        showMessage(this, QStringLiteral("Failed - please double check."));
        return;
    }
    dispatch();
    accept();
}

void Tfrm_checkcode::dispatch() {
    for (const Route& route : kRoutes) {
        if (shownPurpose_ != route.purpose)
            continue;
        guard_.*route.flag = true;
        // The action runs while this dialog is still open; its own messages appear above it.
        if (const auto action = reinvoke_.value(route.purpose))
            action();
        return;
    }
}

void Tfrm_checkcode::btn_cancelClick() {
    reject();
}

} // namespace tallowby::ui
