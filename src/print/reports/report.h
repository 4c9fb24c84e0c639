#pragma once
// A printed document laid out for one sheet: how many pages it has and how to draw any one of them. The
// wage table, the slips, the wrapped slips, the strips, the department payment table and positioned
// printing are each one; deliver() (delivery.h) sends any of them to a printer, a preview draws their
// pages on its picture.
#include <vector>

namespace slp::print {

class PrintTarget;
class PageRecorder;
struct Page;

class Report {
  public:
    virtual ~Report();

    virtual int pageCount() const = 0;
    // Draws page `page` (from 1 to pageCount()) on a blank target whose cursor stands at the top left
    // corner. The target's font may be what the page before left.
    virtual void draw(int page, PrintTarget& target) = 0;
};

// Every page of the report drawn on the recorder and handed over, for a preview that shows them all.
std::vector<Page> recordPages(Report& report, PageRecorder& recorder);

}  // namespace slp::print
