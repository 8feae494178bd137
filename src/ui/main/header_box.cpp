#include "ui/main/header_box.h"

#include <QPaintEvent>
#include <QPainter>

namespace tallowby::ui {

namespace {

bool sameLook(const QStyleOptionGroupBox& a, const QStyleOptionGroupBox& b) {
    return a.rect == b.rect && a.text == b.text && a.state == b.state && a.subControls == b.subControls &&
           a.textAlignment == b.textAlignment && a.textColor == b.textColor && a.features == b.features &&
           a.palette.cacheKey() == b.palette.cacheKey() && a.palette == b.palette &&
           a.fontMetrics.height() == b.fontMetrics.height() && a.direction == b.direction;
}

} // namespace

void HeaderBox::paintEvent(QPaintEvent* event) {
    QStyleOptionGroupBox option;
    initStyleOption(&option);
    const qreal ratio = devicePixelRatioF();
    if (drawn_.isNull() || drawn_.devicePixelRatio() != ratio || !sameLook(option, drawnFrom_)) {
        drawn_ = QPixmap(option.rect.size() * ratio);
        drawn_.setDevicePixelRatio(ratio);
        drawn_.fill(Qt::transparent);
        QPainter painter(&drawn_);
        painter.setFont(font());
        style()->drawComplexControl(QStyle::CC_GroupBox, &option, &painter, this);
        drawnFrom_ = option;
    }
    QPainter painter(this);
    for (const QRect& part : event->region())
        painter.drawPixmap(part, drawn_, QRectF(part.topLeft() * ratio, part.size() * ratio));
}

} // namespace tallowby::ui
