#pragma once
// The preview picture: the printer's printable area at screen resolution (15 twips a pixel at 96 dpi).
// The renderers draw a page value on its target; the picture paints that page as the printer would.
#include <QImage>
#include <memory>

#include "print/page_recorder.h"

namespace slp::print {

class PreviewPicture {
  public:
    // width and height: the printable area in twips; paperWidth and printableWidth: the printer's.
    PreviewPicture(float width, float height, float paperWidth, float printableWidth, int dpi = 96);

    PrintTarget& target() { return recorder_; }
    // The page drawn on the target so far.
    const Page& page() const { return recorder_.page(); }
    // A blank white page; the cursor returns to the top left corner.
    void clear();
    // Shows a page made elsewhere (the one a printer gets) instead of the one drawn on the target.
    void show(Page page);
    // The picture of the page.
    const QImage& image();
    float width() const { return width_; }
    float height() const { return height_; }
    int dpi() const { return dpi_; }

  private:
    float width_;
    float height_;
    int dpi_;
    PageRecorder recorder_;
    std::unique_ptr<Page> shown_;  // a page shown in place of the recorded one
    QImage image_;
};

}  // namespace slp::print
