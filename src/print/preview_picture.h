#pragma once
// The preview picture: an image of the printer's printable area at screen resolution (15 twips a pixel
// at 96 dpi), drawn by the same renderers through a PrintTarget.
#include <QImage>
#include <QPainter>
#include <memory>

#include "print/painter_print_target.h"

namespace slp::print {

class PreviewPicture {
  public:
    // width and height: the printable area in twips; paperWidth and printableWidth: the printer's.
    PreviewPicture(float width, float height, float paperWidth, float printableWidth, int dpi = 96);
    ~PreviewPicture();
    PreviewPicture(const PreviewPicture&) = delete;
    PreviewPicture& operator=(const PreviewPicture&) = delete;

    PrintTarget& target();
    // A blank white page; the cursor returns to the top left corner.
    void clear();
    // The picture as drawn so far.
    const QImage& image();
    float width() const { return width_; }
    float height() const { return height_; }

  private:
    class Target;
    friend class Target;
    QPainter& painter();

    float width_;
    float height_;
    float paperWidth_;
    float printableWidth_;
    QImage image_;
    QPainter painter_;
    std::unique_ptr<Target> target_;
};

}  // namespace slp::print
