#include "print/preview_picture.h"

#include <cmath>

namespace slp::print {

class PreviewPicture::Target : public PainterPrintTarget {
  public:
    explicit Target(PreviewPicture& picture) : picture_(picture) {}
    float Height() const override { return picture_.height_; }
    void EndDoc() override {}
    TargetKind Kind() const override { return TargetKind::Picture; }
    float PrinterPaperWidth() const override { return picture_.paperWidth_; }
    float PrinterPrintableWidth() const override { return picture_.printableWidth_; }
    void home() { homeCursor(); }

  protected:
    const QPaintDevice& metricsDevice() const override { return picture_.image_; }
    QPainter& painter() override { return picture_.painter(); }
    float penPixelTwips() const override { return 1440.0f / float(picture_.image_.logicalDpiX()); }

  private:
    PreviewPicture& picture_;
};

namespace {
int pixels(float twips, int dpi) {
    const double px = std::ceil(double(twips) * dpi / 1440.0);
    return px < 1 ? 1 : (px > 20000 ? 20000 : int(px));
}
}  // namespace

PreviewPicture::PreviewPicture(float width, float height, float paperWidth, float printableWidth, int dpi)
    : width_(width),
      height_(height),
      paperWidth_(paperWidth),
      printableWidth_(printableWidth),
      image_(pixels(width, dpi), pixels(height, dpi), QImage::Format_RGB32),
      target_(std::make_unique<Target>(*this)) {
    const int dotsPerMeter = int(std::lround(dpi / 0.0254));
    image_.setDotsPerMeterX(dotsPerMeter);
    image_.setDotsPerMeterY(dotsPerMeter);
    image_.fill(Qt::white);
}

PreviewPicture::~PreviewPicture() {
    if (painter_.isActive()) painter_.end();
}

PrintTarget& PreviewPicture::target() {
    return *target_;
}

QPainter& PreviewPicture::painter() {
    if (!painter_.isActive()) painter_.begin(&image_);
    return painter_;
}

void PreviewPicture::clear() {
    if (painter_.isActive()) painter_.end();
    image_.fill(Qt::white);
    target_->home();
}

const QImage& PreviewPicture::image() {
    if (painter_.isActive()) painter_.end();
    return image_;
}

}  // namespace slp::print
