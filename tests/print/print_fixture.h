#pragma once
// What the renderer tests share: grids built from captions and widths, an environment with a settings
// store in a temporary folder, a fixed clock and collected warnings, and a recording target.
#include <QStringList>
#include <QTemporaryDir>
#include <vector>

#include "basic/clock.h"
#include "data/wage_grid.h"
#include "print/print_layout.h"
#include "print/reports/delivery.h"
#include "print/reports/wage_report.h"
#include "print/warning_sink.h"
#include "recording_print_target.h"
#include "settings/keys.h"
#include "settings/store.h"

namespace print_test {

// A grid of `dataRows` data rows plus a totals row under one caption row. Cell (r, c) of a data row
// reads "r<r>c<c>"; the totals row reads "t<c>". Widths in twips, alignment codes per column.
inline slp::data::WageGrid makeGrid(const QStringList& captions, const std::vector<int>& widths, int dataRows,
                                    const std::vector<int16_t>& alignments = {}) {
    const int cols = int(captions.size());
    slp::data::WageGrid grid(dataRows + 2, cols);
    for (int c = 0; c < cols; ++c) {
        grid.setText(0, c, captions[c]);
        grid.setColWidth(c, widths.at(size_t(c)));
        grid.setColAlignment(c, alignments.empty() ? int16_t(0) : alignments.at(size_t(c)));
        for (int r = 1; r <= dataRows; ++r) grid.setText(r, c, QStringLiteral("r%1c%2").arg(r).arg(c));
        grid.setText(dataRows + 1, c, QStringLiteral("t%1").arg(c));
    }
    return grid;
}

struct Fixture {
    QTemporaryDir dir;
    slp::settings::Store store{dir.path()};
    slp::FixedClock clock{QDateTime(QDate(2024, 3, 15), QTime(10, 30))};
    slp::print::CollectedWarnings warnings;
    slp::print::RecordingPrintTarget target;
    slp::print::PrintLayout layout;

    explicit Fixture(slp::print::RecordingPrintTarget::Setup setup = {}) : target(std::move(setup)) {
        layout.printTarget = &target;
        layout.environment.store = &store;
        layout.environment.unitCode = QStringLiteral("0101");
        layout.environment.payDate = QStringLiteral("2000-04-25");
        layout.environment.clock = &clock;
        layout.environment.warnings = &warnings;
    }

    // Writes a setting of the slips ("汇总表工资条设置") or the tables ("汇总表设置").
    void setSlipOption(const slp::settings::KeyDef& key, const QString& value) {
        store.write(slp::settings::appUnitGZGL(QStringLiteral("0101")), QStringLiteral("汇总表工资条设置"),
                    key.key.toString(), value);
    }
    void setTableOption(const QString& key, const QString& value) {
        store.write(slp::settings::appUnitGZGL(QStringLiteral("0101")), QStringLiteral("汇总表设置"), key,
                    value);
    }
};

// The geometry the renderer tests draw with: origin (300, originY), rows of 360 twips with the text 90
// twips down, 9 points at scale 1, columns firstCol..lastCol.
inline slp::print::PageGeometry geometry(int lastCol, float originX = 300, float originY = 600,
                                         float cellInset = 45) {
    slp::print::PageGeometry g;
    g.originX = originX;
    g.originY = originY;
    g.rowHeight = 360;
    g.textOffset = 90;
    g.lastCol = lastCol;
    g.cellInset = cellInset;
    return g;
}

// Draws page `page` of the layout's grid on the layout's target as the preview does, at the layout's font
// size; returns the scale the page was drawn at.
inline float drawPage(slp::print::PrintLayout& layout, slp::print::PageLayoutKind kind,
                      slp::print::PageGeometry g, int page, float cellInset = 45) {
    g.fontSize = layout.printFontSize;
    g.cellInset = cellInset;
    slp::print::WageReport report(layout, kind, g);
    report.draw(page, *layout.printTarget);
    return report.drawnScale();
}

// Prints pages from..to of the layout's grid as the preview's 打印 does, a job a page.
inline int printPages(slp::print::PrintLayout& layout, slp::print::Printer& printer,
                      slp::print::PageLayoutKind kind, slp::print::PageGeometry g, int from, int to) {
    g.fontSize = layout.printFontSize;
    slp::print::WageReport report(layout, kind, g);
    return slp::print::deliver(report, printer, {from, to});
}

// Lines of the log that are horizontal at y (within 0.01 twips).
inline std::vector<slp::print::RecordedCall> horizontalAt(const slp::print::RecordingPrintTarget& t,
                                                          float y) {
    std::vector<slp::print::RecordedCall> out;
    for (const auto& l : t.lines()) {
        if (std::abs(l.y - y) < 0.01f && std::abs(l.y2 - y) < 0.01f) out.push_back(l);
    }
    return out;
}

// Lines of the log that are vertical at x.
inline std::vector<slp::print::RecordedCall> verticalAt(const slp::print::RecordingPrintTarget& t, float x) {
    std::vector<slp::print::RecordedCall> out;
    for (const auto& l : t.lines()) {
        if (std::abs(l.x - x) < 0.01f && std::abs(l.x2 - x) < 0.01f && l.y != l.y2) out.push_back(l);
    }
    return out;
}

}  // namespace print_test
