#include "print/reports/report.h"

#include <algorithm>

#include "print/page.h"
#include "print/page_recorder.h"

namespace slp::print {

Report::~Report() = default;

std::vector<Page> recordPages(Report& report, PageRecorder& recorder) {
    std::vector<Page> pages;
    const int count = report.pageCount();
    pages.reserve(size_t(std::max(count, 0)));
    for (int page = 1; page <= count; ++page) {
        report.draw(page, recorder);
        pages.push_back(recorder.takePage());
    }
    return pages;
}

}  // namespace slp::print
