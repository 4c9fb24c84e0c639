#include "windows/print_preview/page_picture.h"

#include <QMouseEvent>
#include <QPainter>
#include <cmath>

namespace slp::print {

PagePicture::PagePicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Pic"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::OpenHandCursor);
}

void PagePicture::setImage(const QImage& image, int dpi) {
    image_ = image;
    dpi_ = dpi > 0 ? dpi : 96;
    resize(image_.size());
    place();
    update();
}

void PagePicture::setPositionTwips(QPointF twips) {
    position_ = twips;
    place();
}

void PagePicture::place() {
    const double pixelsPerTwip = dpi_ / 1440.0;
    move(int(std::lround(position_.x() * pixelsPerTwip)), int(std::lround(position_.y() * pixelsPerTwip)));
}

void PagePicture::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (image_.isNull()) {
        painter.fillRect(rect(), Qt::white);
        return;
    }
    painter.drawImage(0, 0, image_);
}

void PagePicture::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
    dragPoint_ = event->position();
    event->accept();
}

void PagePicture::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return QWidget::mouseMoveEvent(event);
    // The point that went down stays under the pointer: the picture follows it.
    const QPointF delta = event->position() - dragPoint_;
    const double twipsPerPixel = 1440.0 / dpi_;
    moveByTwips(delta.x() * twipsPerPixel, delta.y() * twipsPerPixel);
    event->accept();
}

}  // namespace slp::print
