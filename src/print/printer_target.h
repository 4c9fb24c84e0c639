#pragma once
// The drawing target of a printer: a QPainter target whose painter belongs to the printer's current job.
#include "print/painter_print_target.h"

namespace slp::print {

class Printer;

// What a printer lends its target.
class PrinterJobDevice {
  public:
    virtual ~PrinterJobDevice() = default;
    // The device that sizes the fonts, with the resolution the job paints at.
    virtual const QPaintDevice& jobMetricsDevice() const = 0;
    // The painter of the job under way; begins a job when none is.
    virtual QPainter& jobPainter() = 0;
    // Twips of one printer pixel.
    virtual float jobPenPixelTwips() const = 0;
    // The page of the job under way when the printer writes PDF itself (beginning a job when none is),
    // or nullptr when the job is drawn with its painter.
    virtual PageDrawing* jobPageDrawing() { return nullptr; }
};

class PrinterPrintTarget : public PainterPrintTarget {
  public:
    PrinterPrintTarget(Printer& printer, PrinterJobDevice& device) : printer_(printer), device_(device) {}
    float Height() const override;
    void EndDoc() override;
    TargetKind Kind() const override { return TargetKind::Printer; }
    float PrinterPaperWidth() const override;
    float PrinterPrintableWidth() const override;
    // Back to the top left corner: a new page or job starts there.
    void home() { homeCursor(); }

  protected:
    const QPaintDevice& metricsDevice() const override { return device_.jobMetricsDevice(); }
    QPainter& painter() override { return device_.jobPainter(); }
    float penPixelTwips() const override { return device_.jobPenPixelTwips(); }
    PageDrawing* pageDrawing() override { return device_.jobPageDrawing(); }

  private:
    Printer& printer_;
    PrinterJobDevice& device_;
};

}  // namespace slp::print
