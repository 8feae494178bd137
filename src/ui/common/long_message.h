#pragma once
// A message too long for a plain box: a plain box grows with its text, and a report of a few
// hundred rules, or a line of a file that never breaks, would push its OK button off the screen.
// Such a message keeps its first paragraph on top and the whole of the rest in a scrolling area,
// in a box that stays within the screen.
#include <QDialog>
#include <QString>

class QLabel;
class QPlainTextEdit;

namespace tallowby::ui {

// Whether a plain message box shows the text within the screen: a few short lines, no run of text
// without a space wider than the box.
bool fitsPlainBox(const QString& text);

// The box titled "Tallowby" with an OK button; the text's first paragraph above, when it fits, and
// the rest (or all of it) in a read-only scrolling area.
class LongMessageBox : public QDialog {
  public:
    LongMessageBox(const QString& text, QWidget* parent);

    QLabel* summary() const { return summary_; }
    QPlainTextEdit* details() const { return details_; }

  private:
    QLabel* summary_;
    QPlainTextEdit* details_;
};

} // namespace tallowby::ui
