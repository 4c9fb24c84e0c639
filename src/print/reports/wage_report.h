#pragma once
// The wage table, the wage slips and the wrapped wage slips of a grid as a report: the pages the layout
// was counted for (page_layout.h), each drawn by the renderer of its kind (wage_print.h).
#include "print/page_layout.h"
#include "print/print_layout.h"
#include "print/reports/page_geometry.h"
#include "print/reports/report.h"

namespace slp::print {

class WageReport : public Report {
  public:
    // The layout (its grid, texts, switches and page count) is read at every page, not copied: a preview
    // that changes a setting draws the next page with it. Its printTarget is set while a page is drawn
    // and restored afterwards.
    WageReport(PrintLayout& layout, PageLayoutKind kind, const PageGeometry& geometry);

    int pageCount() const override { return layout_.pageCount; }
    void draw(int page, PrintTarget& target) override;

    // The scale the last page was drawn at: below 1 when slips had to be shrunk to the paper.
    float drawnScale() const { return drawnScale_; }

  private:
    PrintLayout& layout_;
    PageLayoutKind kind_;
    PageGeometry geometry_;
    float drawnScale_ = 1;
};

}  // namespace slp::print
