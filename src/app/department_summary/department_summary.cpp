#include "app/department_summary/department_summary.h"

#include <vector>

#include "app/department_summary/summary_queries.h"
#include "app/department_summary/summary_totals.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/host_database.h"
#include "basic/conversions.h"
#include "data/amount_format.h"
#include "data/database.h"
#include "data/host_context.h"

using namespace Qt::StringLiterals;

namespace slp::windows::summary {

namespace {
// Columns 0 to 2 (sequence, department, head count) are fixed and centred.
constexpr int kFixedColumns = 3;

// The index of a column the query names; one the engine did not return raises its "item not found".
int requiredField(const data::ResultSet& rs, const QString& alias) {
    const int index = rs.fieldIndex(alias);
    if (index < 0) (void)rs.value(alias);
    return index;
}
}  // namespace

QString summaryCaption() {
    return u"班组汇总联"_s;
}
QString noSummaryDataMessage() {
    return u"未找到数据,请确定是否计算过!"_s;
}
QString workMonthPanel(const QString& monthKey) {
    return u"工作年月:"_s + monthKey;
}
QString summaryStatusLine(int departments, const QString& grandTotal) {
    return u"本月发薪部门数为"_s + QString::number(departments) + u"  本月总金额为"_s + grandTotal;
}
QString summaryStatusLine(const data::WageGrid& grid) {
    if (grid.rows() < 2 || grid.cols() < 1) return summaryStatusLine(0, QString());
    return summaryStatusLine(grid.rows() - 2, grid.text(grid.rows() - 1, grid.cols() - 1));
}

print::PrintPreviewRequest summaryPrintRequest(const data::WageGrid& grid, const HostContext& context,
                                               float printFontSize) {
    print::PrintPreviewRequest r;
    r.grid = &grid;
    r.captionRows = 1;
    r.slipMode = print::kSlipModeTable;
    r.title = summaryCaption();
    r.leftText = u"单位名称:"_s + context.unitName;
    r.rightText = u"发薪日期:"_s + context.payDate;
    r.printFontSize = printFontSize;
    // A department's totals are short enough for one line; alternating halves only split the row.
    r.totalsOnOneLine = true;
    return r;
}

DepartmentSummary::DepartmentSummary(const HostContext& context, data::CharUnitMeasure measure)
    : context_(context), measure_(std::move(measure)) {}

QString DepartmentSummary::monthKey() const {
    return context_.monthKey();
}

void DepartmentSummary::beginOpening() {
    printFontSize_ = kOpeningPrintFontSize;
    charUnit_ = measure_(u"宋体"_s, kOpeningPrintFontSize);
}

int16_t DepartmentSummary::readCodeLength() {
    data::ResultSet rs = requireDatabase(context_).open(codeLengthQuery());
    // The first row the engine returns; a null code (no length) counts as an empty table.
    const int16_t n = rs.eof() ? int16_t(0) : toInt16(rs.number(u"a"));
    rs.close();
    deptCodeLength_ = n;
    return n;
}

bool DepartmentSummary::loadCatalogue(Prompts& prompts) {
    return data::LoadWageItems(requireDatabase(context_), monthKey(), prompts, catalogue_);
}

std::optional<data::WageGrid> DepartmentSummary::buildGrid(Prompts& prompts) const {
    std::optional<data::WageGrid> grid = buildGridFrom(requireDatabase(context_), monthKey());
    if (!grid)
        prompts.messageBox(noSummaryDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
    return grid;
}

std::optional<data::WageGrid> DepartmentSummary::buildGridFrom(data::Database& db,
                                                               const QString& month) const {
    data::ResultSet rs = db.open(departmentSummaryQuery(catalogue_, deptCodeLength_, month));
    if (rs.eof()) {
        rs.close();
        return std::nullopt;
    }
    rs.moveLast();
    const int f = catalogue_.firstAmountIndex;
    const int cols = columnCount();
    const int rows = rs.recordCount() + 2;
    data::WageGrid grid(rows, cols);
    grid.setFixedRows(1);
    grid.setFixedCols(kFixedColumns);
    grid.setFontName(u"宋体"_s);
    grid.setFontSize(printFontSize_);

    // Result columns by index, looked up once: the name, the head count and each shown item's sum.
    const int nameField = requiredField(rs, departmentNameAlias(catalogue_));
    const int countField = requiredField(rs, headCountAlias(catalogue_));
    std::vector<int> sumField(size_t(cols), -1);
    std::vector<data::AmountFormat> formats;
    formats.reserve(size_t(cols));
    for (int c = 0; c < cols; ++c) {
        const int item = c + f - kFixedColumns;
        formats.emplace_back(c >= kFixedColumns ? catalogue_.itemFormat.value(item) : QString());
        if (c >= kFixedColumns) sumField[size_t(c)] = requiredField(rs, itemSumAlias(catalogue_, item));
    }

    data::AmountFormat::Buffer buffer;
    QString spill;
    for (int r = 1; r <= rows - 2; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        grid.setText(r, 1, rs.text(nameField));  // a null name shows an empty cell
        grid.setText(r, 2, rs.text(countField));
        for (int c = kFixedColumns; c < cols; ++c) {
            grid.setText(r, c, formats[size_t(c)].format(rs.number(sumField[size_t(c)]), buffer, spill));
        }
    }
    rs.close();

    grid.setText(0, 0, u"序号"_s);
    grid.setText(0, 1, catalogue_.itemName.value(0));
    grid.setText(0, 2, u"人数"_s);
    for (int c = kFixedColumns; c < cols; ++c)
        grid.setText(0, c, catalogue_.itemName.value(c + f - kFixedColumns));
    for (int c = 0; c < cols; ++c) {
        const bool fixed = c < kFixedColumns;
        grid.setCaptionAlignment(c, fixed ? data::align::CenterCenter : data::align::RightCenter);
        if (fixed) grid.setColAlignment(c, data::align::CenterCenter);
        if (!fixed) grid.setAmountFormat(c, formats[size_t(c)].pattern());
    }
    data::applyColumnWidths(grid, catalogue_, columns(cols), charUnit_);

    // Totals from the texts just shown; cells (t, 0) and (t, 1) stay empty.
    const int t = rows - 1;
    for (int c = 2; c < cols; ++c) {
        const CurrencyUnits total = columnTotal(grid, c);
        grid.setText(t, c, c == 2 ? headCountTotal(total) : formatUnits(total, formats[size_t(c)].pattern()));
    }
    grid.squeeze();
    return grid;
}

std::optional<int16_t> DepartmentSummary::choosePrintFontSize(Prompts& prompts) {
    const auto size = askPrintFontSize(prompts, printFontSize_);
    if (size) printFontSize_ = *size;
    return size;
}

}  // namespace slp::windows::summary
