#include "windows/shared/caption_markers.h"

#include <QPainter>
#include <QPainterPath>

#include "data/wage_grid_model.h"

namespace slp::windows {

void toggleCaptionMarker(data::WageGridModel& model, int col) {
    if (col < 0 || col >= model.grid().cols()) return;
    model.setCaptionMarker(col, !model.grid().captionMarker(col));
}

void markAllCaptions(data::WageGridModel& model) {
    for (int c = 0; c < model.grid().cols(); ++c) model.setCaptionMarker(c, true);
}

void clearAllCaptions(data::WageGridModel& model) {
    for (int c = model.grid().cols() - 1; c >= 0; --c) model.setCaptionMarker(c, false);
}

QPixmap captionMarkerPicture(int size) {
    QPixmap picture(size, size);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QPen pen(QColor(0xC0, 0x10, 0x10));
    pen.setWidthF(size / 6.0);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    QPainterPath tick;
    tick.moveTo(size * 0.15, size * 0.55);
    tick.lineTo(size * 0.42, size * 0.80);
    tick.lineTo(size * 0.85, size * 0.20);
    p.drawPath(tick);
    return picture;
}

}  // namespace slp::windows
