#pragma once
// A group box of the main window's header, around labels that change every second (the clock, the
// running status, the blinking notes).
#include <QGroupBox>
#include <QPixmap>
#include <QStyleOptionGroupBox>

namespace tallowby::ui {

class HeaderBox : public QGroupBox {
    Q_OBJECT

  public:
    using QGroupBox::QGroupBox;

  protected:
    // A label inside repaints the box behind it, and the style works out the caption's size (shaping
    // its text) every time it draws the box: most of what the idle program costs, every second, for a
    // box that has not changed. So the box is drawn once into a picture and painted from it until
    // anything the style draws from changes.
    void paintEvent(QPaintEvent* event) override;

  private:
    QPixmap drawn_;
    QStyleOptionGroupBox drawnFrom_;
};

} // namespace tallowby::ui
