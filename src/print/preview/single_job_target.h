#pragma once
// A printer's target that keeps the print job open: every operation goes to the printer's own target,
// except EndDoc, which the slip renderer issues after each page. Printing a range of pages as one job
// draws through it and ends the job once at the end.
#include "print/print_target.h"

namespace slp::print {

class SingleJobTarget : public PrintTarget {
  public:
    explicit SingleJobTarget(PrintTarget& inner) : inner_(inner) {}

    float CurrentX() const override { return inner_.CurrentX(); }
    float CurrentY() const override { return inner_.CurrentY(); }
    void SetCurrentX(float x) override { inner_.SetCurrentX(x); }
    void SetCurrentY(float y) override { inner_.SetCurrentY(y); }
    float FontSize() const override { return inner_.FontSize(); }
    void SetFontSize(float points) override { inner_.SetFontSize(points); }
    QString FontName() const override { return inner_.FontName(); }
    void SetFontName(const QString& face) override { inner_.SetFontName(face); }
    bool FontBold() const override { return inner_.FontBold(); }
    void SetFontBold(bool bold) override { inner_.SetFontBold(bold); }
    int DrawWidth() const override { return inner_.DrawWidth(); }
    void SetDrawWidth(int pixels) override { inner_.SetDrawWidth(pixels); }
    float TextWidth(const QString& text) override { return inner_.TextWidth(text); }
    float TextHeight(const QString& text) override { return inner_.TextHeight(text); }
    void Line(float x1, float y1, float x2, float y2) override { inner_.Line(x1, y1, x2, y2); }
    void Print(const QString& text) override { inner_.Print(text); }
    float Height() const override { return inner_.Height(); }
    // The page ends; the job goes on.
    void EndDoc() override { ++endedPages_; }
    TargetKind Kind() const override { return inner_.Kind(); }
    float PrinterPaperWidth() const override { return inner_.PrinterPaperWidth(); }
    float PrinterPrintableWidth() const override { return inner_.PrinterPrintableWidth(); }

    // How many times a renderer asked to end the job.
    int endedPages() const { return endedPages_; }

  private:
    PrintTarget& inner_;
    int endedPages_ = 0;
};

}  // namespace slp::print
