#include "print/render_support.h"

#include <stdexcept>

#include "basic/clock.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "data/wage_grid.h"
#include "print/print_target.h"
#include "print/wage_print.h"
#include "print/warning_sink.h"
#include "settings/groups.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;

namespace slp::print {

QString pageOverflowWarning() {
    return u"行高或每页行数太大,请减小行高或每页行数"_s;
}

bool SetTargetFont(PrintLayout& layout, const QString& face) {
    try {
        render::targetOf(layout).SetFontName(face);
        return true;
    } catch (const Error& e) {
        if (layout.environment.warnings) layout.environment.warnings->warning(e.description());
        return false;
    }
}

namespace render {

bool columnVisible(const data::WageGrid& grid, int col) {
    return col >= 0 && col < grid.cols() && grid.colWidth(col) > kHiddenWidth;
}

QString cellText(const data::WageGrid& grid, int row, int col) {
    if (row < 0 || col < 0 || row >= grid.rows() || col >= grid.cols()) return QString();
    return grid.text(row, col);
}

int lastColumn(const data::WageGrid& grid, int lastCol) {
    return std::min(lastCol, grid.cols() - 1);
}

namespace {

ExtraColumns readExtraColumns(const PrintEnvironment& env, const QString& reportKind) {
    ExtraColumns extras;
    if (!env.store) return extras;
    using namespace settings;
    extras.payDate = readTrueFalse(*env.store, resolve(key::PrintPayDate, env.unitCode, reportKind));
    extras.signOff = readTrueFalse(*env.store, resolve(key::PrintSignOff, env.unitCode, reportKind));
    return extras;
}

}  // namespace

ExtraColumns readSlipExtraColumns(const PrintEnvironment& env) {
    return readExtraColumns(env, settings::kWageSlipReportKind.toString());
}

ExtraColumns readTableExtraColumns(const PrintEnvironment& env) {
    return readExtraColumns(env, QString());
}

Pens readTablePens(const PrintEnvironment& env) {
    if (!env.store) return {};
    const auto widths = settings::TableLineWidths::load(*env.store, env.unitCode);
    return {widths.lineWidth, widths.outerLineWidth, widths.middleLineWidth};
}

TableWidth tableWidth(const data::WageGrid& grid, float scale, ExtraColumns extras) {
    TableWidth t;
    for (int j = 0; j < grid.cols(); ++j) {
        if (columnVisible(grid, j)) t.width += scale * float(grid.colWidth(j));
    }
    if (extras.payDate) {
        t.width += 1000 * scale;
        t.dateRight = t.width;
    }
    if (extras.signOff) {
        t.dateRight = t.width;
        t.width += 1000 * scale;
    }
    return t;
}

QString todayText(const PrintEnvironment& env) {
    if (!env.clock) throw std::invalid_argument("print environment without a clock");
    return formatDate(env.clock->today(), u"yyyy-mm-dd");
}

float alignedX(PrintTarget& target, int alignment, const QString& text, float left, float width,
               float inset) {
    if (alignment <= 3) return left + inset;
    if (alignment == 4) return left + (width - target.TextWidth(text)) / 2;
    return left + width - target.TextWidth(text);
}

void printInCell(PrintTarget& target, int alignment, const QString& text, float left, float width,
                 float inset, float y, float room) {
    // The inset keeps a little air on the side a text starts from, and on the other side for a text
    // placed from the right, so neighbouring numbers do not run together.
    if (room <= 0) room = width - inset;
    const float size = target.FontSize();
    float textWidth = target.TextWidth(text);
    // A few steps at most: widths follow the size closely, the hinting of small sizes not quite.
    for (int step = 0; step < 4 && textWidth > room && room > 0; ++step) {
        target.SetFontSize(target.FontSize() * room / textWidth * 0.98f);
        textWidth = target.TextWidth(text);
    }
    target.SetCurrentX(alignedX(target, alignment, text, left, width, inset));
    target.SetCurrentY(y);
    target.Print(text);
    if (target.FontSize() != size) target.SetFontSize(size);
}

void checkOverflow(PrintLayout& layout, float bottom) {
    PrintTarget& target = targetOf(layout);
    if (target.IsPicture() && bottom > target.Height() - 100 && layout.environment.warnings) {
        layout.environment.warnings->warning(pageOverflowWarning());
    }
}

void PageFonts::set(const QString& face) {
    if (refused_.contains(face)) return;
    try {
        targetOf(layout_).SetFontName(face);
    } catch (const Error& e) {
        refused_.insert(face);
        if (layout_.environment.warnings) layout_.environment.warnings->warning(e.description());
    }
}

PrintTarget& targetOf(const PrintLayout& layout) {
    if (!layout.printTarget) throw std::invalid_argument("print layout without a target");
    return *layout.printTarget;
}

}  // namespace render
}  // namespace slp::print
