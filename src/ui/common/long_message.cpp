#include "ui/common/long_message.h"

#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace tallowby::ui {
namespace {

constexpr int kPlainLines = 15;
constexpr int kPlainCharacters = 1500;
constexpr int kPlainRun = 80; // characters without a space a box of its usual width can hold
// More than anyone reads in a message; a longer text is cut so that the box still comes at once.
constexpr int kShownCharacters = 64 * 1024;
constexpr int kSummaryCharacters = 400;
constexpr int kWidth = 640;
constexpr int kHeight = 480;

int longestRun(const QString& text) {
    int longest = 0;
    int run = 0;
    for (const QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        longest = std::max(longest, run);
    }
    return longest;
}

QString cut(const QString& text) {
    if (text.size() <= kShownCharacters)
        return text;
    // Not inside a surrogate pair.
    int end = kShownCharacters;
    if (text[end - 1].isHighSurrogate())
        --end;
    return text.left(end) + QStringLiteral("...");
}

} // namespace

bool fitsPlainBox(const QString& text) {
    return text.size() <= kPlainCharacters && text.count(QLatin1Char('\n')) < kPlainLines &&
           longestRun(text) <= kPlainRun;
}

LongMessageBox::LongMessageBox(const QString& text, QWidget* parent)
    : QDialog(parent), summary_(new QLabel(this)), details_(new QPlainTextEdit(this)) {
    setWindowTitle(QStringLiteral("Tallowby"));
    const QString shown = cut(text);
    const qsizetype paragraphEnd = shown.indexOf(QStringLiteral("\n\n"));
    const QString first = paragraphEnd < 0 ? QString() : shown.left(paragraphEnd);
    const bool summarised = !first.isEmpty() && first.size() <= kSummaryCharacters && fitsPlainBox(first);
    summary_->setText(first);
    summary_->setWordWrap(true);
    summary_->setTextFormat(Qt::PlainText);
    summary_->setVisible(summarised);
    details_->setReadOnly(true);
    details_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    details_->setPlainText(summarised ? shown.mid(paragraphEnd + 2) : shown);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(details_, 1);
    layout->addWidget(buttons);

    // Within the screen it opens on, whatever the text: the scrolling area takes what is left.
    const QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    QSize room(kWidth, kHeight);
    if (screen != nullptr) {
        const QSize available = screen->availableGeometry().size();
        room = room.boundedTo(available * 9 / 10);
        setMaximumSize(available);
    }
    resize(room);
}

} // namespace tallowby::ui
