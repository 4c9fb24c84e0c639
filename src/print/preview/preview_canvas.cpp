#include "print/preview/preview_canvas.h"

namespace slp::print {

PictureCanvas::PictureCanvas(int dpi) : dpi_(dpi) { rebuild(); }

void PictureCanvas::rebuild() {
    picture_ = std::make_unique<PreviewPicture>(width_, height_, paperWidth_, printableWidth_, dpi_);
}

void PictureCanvas::resize(float width, float height, float paperWidth, float printableWidth) {
    const bool same = width == width_ && height == height_ && paperWidth == paperWidth_ &&
                      printableWidth == printableWidth_;
    width_ = width;
    height_ = height;
    paperWidth_ = paperWidth;
    printableWidth_ = printableWidth;
    // A picture of the same size keeps its font, as a control that is only moved would.
    if (same) {
        picture_->clear();
    } else {
        rebuild();
    }
}

void PictureCanvas::clear() { picture_->clear(); }

PrintTarget& PictureCanvas::target() { return picture_->target(); }

void PictureCanvas::setDpi(int dpi) {
    if (dpi == dpi_) return;
    dpi_ = dpi;
    rebuild();
}

const QImage& PictureCanvas::image() { return picture_->image(); }

}  // namespace slp::print
