#include "app/query/conditional_query.h"

#include <vector>

#include "app/query/query_conditions.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/host_database.h"
#include "data/amount_format.h"
#include "data/database.h"
#include "data/host_context.h"

using namespace Qt::StringLiterals;

namespace slp::windows::query {

QString queryWindowCaption() {
    return u"查询"_s;
}
QString nothingFoundMessage() {
    return u"未找到满足条件的数据!"_s;
}

ConditionalQuery::ConditionalQuery(const HostContext& context, data::CharUnitMeasure measure)
    : context_(context), measure_(std::move(measure)) {}

void ConditionalQuery::beginOpening() {
    showZeros_ = true;
    charUnit_ = measure_(u"宋体"_s, kOpeningPrintFontSize);
}

QString ConditionalQuery::statementFor(const QString& nameText, const QString& departmentText) const {
    const QString conditions =
        joinConditions(nameCondition(trimBlanks(nameText)), departmentCondition(trimBlanks(departmentText)));
    return conditionalQueryStatement(catalogue_, context_.monthKey(), conditions);
}

ConditionalQuery::Result ConditionalQuery::run(const QString& nameText, const QString& departmentText,
                                               Prompts& prompts) {
    Result result;
    if (trimBlanks(nameText).isEmpty() && trimBlanks(departmentText).isEmpty()) return result;
    data::Database& db = requireDatabase(context_);
    if (!data::LoadWageItems(db, context_.monthKey(), prompts, catalogue_)) {
        result.outcome = Outcome::NoCatalogue;
        return result;
    }
    result.statement = statementFor(nameText, departmentText);
    data::ResultSet rs = db.open(result.statement);
    if (rs.eof()) {
        rs.close();
        prompts.messageBox(nothingFoundMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        result.outcome = Outcome::NothingFound;
        return result;
    }
    rs.moveLast();
    result.grid = fillResultGrid(rs);
    rs.close();
    result.outcome = Outcome::Found;
    return result;
}

data::WageGrid ConditionalQuery::fillResultGrid(data::ResultSet& rs) const {
    const int cols = catalogue_.itemCount + 1;
    const int rows = rs.recordCount() + 1;
    data::WageGrid grid(rows, cols);
    grid.setFixedRows(1);
    grid.setFixedCols(std::min(3, cols));
    // The leading text items stay text wherever they stand; amounts are formatted, zeros included.
    const int textColumns = std::max(2, int(catalogue_.firstAmountIndex));
    std::vector<data::AmountFormat> formats;
    formats.reserve(size_t(cols));
    for (int c = 0; c < cols; ++c) formats.emplace_back(c == 0 ? QString() : catalogue_.itemFormat[c - 1]);
    data::AmountFormat::Buffer buffer;
    QString spill;
    for (int r = 1; r < rows; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        for (int c = 1; c < cols; ++c) {
            if (c <= textColumns) {
                grid.setText(r, c, rs.text(c - 1));
            } else {
                const double v = rs.number(c - 1);
                grid.setText(
                    r, c, showZeros_ || v != 0 ? formats[size_t(c)].format(v, buffer, spill) : QStringView());
            }
        }
    }
    grid.setText(0, 0, u"序号"_s);
    for (int c = 1; c < cols; ++c) grid.setText(0, c, catalogue_.itemName[c - 1]);
    for (int c = 0; c < cols; ++c) {
        const bool leading = c <= 2;
        if (leading) grid.setColAlignment(c, data::align::CenterCenter);
        grid.setCaptionAlignment(c, leading ? data::align::CenterCenter : data::align::RightCenter);
        if (c > textColumns) grid.setAmountFormat(c, catalogue_.itemFormat[c - 1]);
    }
    data::applyColumnWidths(grid, catalogue_, data::employeeTableColumns(cols), charUnit_);
    return grid;
}

print::PrintPreviewRequest ConditionalQuery::slipsRequest(const data::WageGrid& grid,
                                                          float printFontSize) const {
    print::PrintPreviewRequest r;
    r.grid = &grid;
    r.captionRows = 1;
    r.leftText = u"单位名称:"_s + context_.unitName;
    r.slipMode = print::kSlipModeSlips;
    r.caption = u"工资条"_s;  // the window's caption: slips print no title
    r.printFontSize = printFontSize;
    return r;
}

}  // namespace slp::windows::query
