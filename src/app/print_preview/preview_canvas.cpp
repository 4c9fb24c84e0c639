#include "app/print_preview/preview_canvas.h"

#include "print/font_metrics.h"

using namespace Qt::StringLiterals;

namespace slp::print {

float layoutHeightOfO() {
    return lineHeight(u"宋体"_s, 9, false, kLayoutDpi);
}

float PreviewCanvas::heightOfO() const {
    return layoutHeightOfO();
}

PictureCanvas::PictureCanvas(int dpi) : dpi_(dpi) {
    rebuild();
}

void PictureCanvas::rebuild() {
    picture_ = std::make_unique<PreviewPicture>(width_, height_, paperWidth_, printableWidth_, dpi_);
}

void PictureCanvas::resize(float width, float height, float paperWidth, float printableWidth) {
    // A picture already of that size keeps what it shows and its font, as a control sized again would.
    if (width == width_ && height == height_ && paperWidth == paperWidth_ &&
        printableWidth == printableWidth_) {
        return;
    }
    width_ = width;
    height_ = height;
    paperWidth_ = paperWidth;
    printableWidth_ = printableWidth;
    rebuild();
}

void PictureCanvas::clear() {
    picture_->clear();
}

PrintTarget& PictureCanvas::target() {
    return picture_->target();
}

void PictureCanvas::setDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    rebuild();
}

const QImage& PictureCanvas::image() {
    return picture_->image();
}

}  // namespace slp::print
