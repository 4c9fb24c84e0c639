#pragma once
// The employee table's grid of a demo month, filled the way the employee table fills it: the item
// query ordered by department, one row a person with the amounts in their item formats, the caption
// row, the totals row "合计" with the head count, the column widths of the width rule at 9 points.
#include <QString>
#include <vector>

#include "basic/prompts.h"
#include "data/amount_format.h"
#include "data/column_widths.h"
#include "data/database.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"

namespace bench_print {

using namespace Qt::StringLiterals;

// Messages go to the error output; nothing here asks questions.
class ConsolePrompts : public slp::Prompts {
  public:
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    slp::MessageAnswer messageBox(const QString& text, const QString&, slp::MessageIcon,
                                  slp::MessageButtons) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return slp::MessageAnswer::Ok;
    }
    std::optional<QString> saveFile(const slp::SaveDialogRequest&) override { return {}; }
};

inline QString itemQuery(const slp::data::WageCatalogue& c, const QString& month) {
    QString q = u"select "_s;
    for (int k = 0; k + 1 < c.itemCount; ++k) q += u'[' + c.itemName[k] + u"],"_s;
    q += u'[' + c.itemName[c.itemCount - 1] + u']' + u" from 16工资输出数据 where 工作年月='"_s + month +
         u"' order by 部门号"_s;
    return q;
}

// Fills `grid` from the month's data; false when the month has no items or no data (said on stderr).
inline bool fillEmployeeGrid(slp::data::Database& db, const QString& month, slp::data::WageGrid& grid,
                             float fontSize = 9) {
    using namespace slp::data;
    ConsolePrompts prompts;
    WageCatalogue c;
    if (!LoadWageItems(db, month, prompts, c)) return false;
    ResultSet rs = db.open(itemQuery(c, month));
    if (rs.eof()) {
        std::fprintf(stderr, "未找到数据,请确定是否计算过!\n");
        return false;
    }
    rs.moveLast();
    const int f = c.firstAmountIndex;
    grid = WageGrid(rs.recordCount() + 2, c.itemCount + 1);
    grid.setFixedRows(1);
    grid.setFixedCols(f);
    std::vector<AmountFormat> formats;
    for (const QString& format : c.itemFormat) formats.emplace_back(format);
    std::vector<double> sums(size_t(grid.cols()), 0.0);
    AmountFormat::Buffer buffer;
    QString spill;
    const int t = grid.rows() - 1;
    for (int r = 1; r < t; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        for (int col = 1; col <= f; ++col) grid.setText(r, col, rs.text(col - 1));
        for (int col = f + 1; col < grid.cols(); ++col) {
            const double v = rs.number(col - 1);
            sums[size_t(col)] += v;
            grid.setText(r, col, formats[size_t(col - 1)].format(v, buffer, spill));
        }
    }
    rs.close();
    grid.setText(t, 0, u"合计"_s);
    grid.setText(t, f, u"共"_s + QString::number(t - 1) + u"人"_s);
    for (int col = f + 1; col < grid.cols(); ++col) {
        grid.setText(t, col, formats[size_t(col - 1)].format(sums[size_t(col)], buffer, spill));
    }
    grid.setText(0, 0, u"序号"_s);
    for (int col = 1; col < grid.cols(); ++col) grid.setText(0, col, c.itemName[col - 1]);
    for (int col = 0; col < grid.cols(); ++col) {
        grid.setColAlignment(col, col > f ? slp::data::align::RightCenter : slp::data::align::LeftCenter);
    }
    grid.setFontSize(fontSize);
    applyColumnWidths(grid, c, employeeTableColumns(grid.cols()),
                      slp::print::measureCharUnit(grid.fontName(), fontSize));
    grid.squeeze();
    return true;
}

}  // namespace bench_print
