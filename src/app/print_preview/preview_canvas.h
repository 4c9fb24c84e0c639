#pragma once
// The preview picture Pic as the preview driver sees it: a page-sized drawing target that can be
// sized to the printer's printable area and cleared. The window's canvas is an image at screen
// resolution; tests use a recording target.
#include <QImage>
#include <memory>

#include "print/preview_picture.h"
#include "print/print_target.h"

namespace slp::print {

// The resolution the preview's pages are laid out for: the picture at 100 %.
inline constexpr int kLayoutDpi = 96;

class PreviewCanvas {
  public:
    virtual ~PreviewCanvas() = default;
    // Sizes the picture to the printer's printable area (twips). paperWidth and printableWidth are the
    // printer's, which the picture's target reports to the renderers. A picture that changes size is
    // blank afterwards; one that keeps its size keeps what it shows.
    virtual void resize(float width, float height, float paperWidth, float printableWidth) = 0;
    // A blank page; the cursor returns to the top left corner.
    virtual void clear() = 0;
    virtual PrintTarget& target() = 0;
    // The height of "O" in the preview's plain 宋体 9 at the resolution the pages are laid out for
    // (kLayoutDpi), whatever the picture's zoom or the font its last page left; the driver places the
    // texts of its rows by it, on the picture and on paper alike.
    virtual float heightOfO() const;
};

// That height without a picture: FontMetrics at kLayoutDpi.
float layoutHeightOfO();

// The picture as an image: 1440 / dpi twips a pixel (15 at 96 dpi).
class PictureCanvas : public PreviewCanvas {
  public:
    explicit PictureCanvas(int dpi = kLayoutDpi);
    void resize(float width, float height, float paperWidth, float printableWidth) override;
    void clear() override;
    PrintTarget& target() override;

    // Draws at another resolution (zooming); the picture is blank afterwards.
    void setDpi(int dpi);
    int dpi() const { return dpi_; }
    // The page as drawn so far.
    const QImage& image();
    float width() const { return width_; }
    float height() const { return height_; }

  private:
    void rebuild();

    int dpi_;
    // A sheet of A4 until the driver sizes the picture to the printer.
    float width_ = 11906;
    float height_ = 16838;
    float paperWidth_ = 11906;
    float printableWidth_ = 11906;
    std::unique_ptr<PreviewPicture> picture_;
};

}  // namespace slp::print
