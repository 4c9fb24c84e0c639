#pragma once
// The page picture Pic on the preview window: the preview image, placed in twips on its parent and
// moved by the arrow keys (through the window) or by dragging it with the left mouse button.
#include <QImage>
#include <QPointF>
#include <QWidget>

namespace slp::print {

class PagePicture : public QWidget {
  public:
    explicit PagePicture(QWidget* parent = nullptr);

    // The page image drawn at `dpi` (1440 / dpi twips a pixel); the widget takes its size.
    void setImage(const QImage& image, int dpi);
    const QImage& image() const { return image_; }
    int dpi() const { return dpi_; }

    // Position of the picture's top left corner on its parent, in twips.
    QPointF positionTwips() const { return position_; }
    void setPositionTwips(QPointF twips);
    void moveByTwips(double dx, double dy) { setPositionTwips(position_ + QPointF(dx, dy)); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

  private:
    void place();

    QImage image_;
    int dpi_ = 96;
    QPointF position_;
    QPointF dragPoint_;  // where the left button went down, in the picture's own pixels
};

}  // namespace slp::print
