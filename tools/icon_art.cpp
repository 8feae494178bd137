#include "icon_art.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace tallowby::tools {
namespace {

struct Palette {
    QColor shieldLight;
    QColor shieldDark;
    QColor rim;
    QColor glass;
    QColor sand;
};

Palette paletteFor(IconState state) {
    if (state == IconState::Running)
        return {QColor(86, 196, 104), QColor(24, 112, 48), QColor(12, 70, 28), QColor(250, 250, 244),
                QColor(232, 184, 72)};
    return {QColor(176, 176, 176), QColor(96, 96, 96), QColor(150, 20, 20), QColor(240, 240, 240),
            QColor(214, 36, 36)};
}

// Drawn on a 64-unit square; the painter scales it to the wanted size.
QPainterPath shieldPath() {
    QPainterPath path;
    path.moveTo(32, 3);
    path.cubicTo(42, 9, 50, 10, 58, 10);
    path.cubicTo(58, 36, 50, 52, 32, 61);
    path.cubicTo(14, 52, 6, 36, 6, 10);
    path.cubicTo(14, 10, 22, 9, 32, 3);
    path.closeSubpath();
    return path;
}

void drawHourglass(QPainter& p, const Palette& colours) {
    QPainterPath glass;
    glass.moveTo(21, 16);
    glass.lineTo(43, 16);
    glass.cubicTo(43, 26, 35, 29, 34, 32);
    glass.cubicTo(35, 35, 43, 38, 43, 48);
    glass.lineTo(21, 48);
    glass.cubicTo(21, 38, 29, 35, 30, 32);
    glass.cubicTo(29, 29, 21, 26, 21, 16);
    glass.closeSubpath();
    p.setPen(QPen(colours.rim, 2.2));
    p.setBrush(colours.glass);
    p.drawPath(glass);

    QPainterPath sand;
    sand.moveTo(24, 21);
    sand.lineTo(40, 21);
    sand.cubicTo(38, 26, 33, 28, 32, 31);
    sand.cubicTo(31, 28, 26, 26, 24, 21);
    sand.moveTo(32, 38);
    sand.cubicTo(36, 41, 40, 43, 40.5, 46);
    sand.lineTo(23.5, 46);
    sand.cubicTo(24, 43, 28, 41, 32, 38);
    p.setPen(Qt::NoPen);
    p.setBrush(colours.sand);
    p.drawPath(sand);

    p.setPen(QPen(colours.rim, 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(18, 15), QPointF(46, 15));
    p.drawLine(QPointF(18, 49), QPointF(46, 49));
}

} // namespace

QImage drawIcon(IconState state, int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    const Palette colours = paletteFor(state);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);

    QLinearGradient fill(QPointF(10, 4), QPointF(54, 60));
    fill.setColorAt(0, colours.shieldLight);
    fill.setColorAt(1, colours.shieldDark);
    p.setPen(QPen(colours.rim, 2.5));
    p.setBrush(fill);
    p.drawPath(shieldPath());
    drawHourglass(p, colours);
    return image;
}

} // namespace tallowby::tools
