#include "print/preview_picture.h"

#include <QPainter>
#include <cmath>

#include "print/page_painter.h"

namespace slp::print {

namespace {
int pixels(float twips, int dpi) {
    const double px = std::ceil(double(twips) * dpi / 1440.0);
    return px < 1 ? 1 : (px > 20000 ? 20000 : int(px));
}

Sheet pictureSheet(float width, float height, float paperWidth, float printableWidth, int dpi) {
    Sheet s;
    s.kind = TargetKind::Picture;
    s.size = QSizeF(width, height);
    s.printableHeight = height;
    s.paperWidth = paperWidth;
    s.printableWidth = printableWidth;
    s.dpi = dpi;
    return s;
}
}  // namespace

PreviewPicture::PreviewPicture(float width, float height, float paperWidth, float printableWidth, int dpi)
    : width_(width),
      height_(height),
      dpi_(dpi),
      recorder_(pictureSheet(width, height, paperWidth, printableWidth, dpi)) {}

void PreviewPicture::clear() {
    recorder_.clearPage();
    shown_.reset();
}

void PreviewPicture::show(Page page) {
    shown_ = std::make_unique<Page>(std::move(page));
}

const QImage& PreviewPicture::image() {
    // Made when first shown: a picture that only measures, as for printing without a preview, needs none.
    if (image_.isNull()) {
        image_ = QImage(pixels(width_, dpi_), pixels(height_, dpi_), QImage::Format_RGB32);
        const int dotsPerMeter = int(std::lround(dpi_ / 0.0254));
        image_.setDotsPerMeterX(dotsPerMeter);
        image_.setDotsPerMeterY(dotsPerMeter);
    }
    image_.fill(Qt::white);
    QPainter painter(&image_);
    paint(shown_ ? *shown_ : recorder_.page(), painter);
    painter.end();
    return image_;
}

}  // namespace slp::print
