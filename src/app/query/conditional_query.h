#pragma once
// SlgzGRCX, the conditional query: what the window computes, without widgets. The month's items, the
// statement from the name and department boxes, and the result grid of the employees found (sequence
// number, the first two items centred and fixed, amounts formatted with zeros shown, no totals row).
#include <QString>
#include <optional>

#include "app/shared/window_services.h"
#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/result_set.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"

namespace slp {
struct HostContext;
}

namespace slp::windows::query {

// The window's caption, "查询".
QString queryWindowCaption();
// "未找到满足条件的数据!"
QString nothingFoundMessage();

class ConditionalQuery {
  public:
    explicit ConditionalQuery(const HostContext& context,
                              data::CharUnitMeasure measure = print::measureCharUnit);

    // The first thing opening does: zeros shown, charUnit of "我" at 9 points.
    void beginOpening();

    enum class Outcome {
        Closed,        // both boxes empty: the window closes without a message
        NoCatalogue,   // the month has no items: message shown, nothing queried, the boxes stay
        NothingFound,  // "未找到满足条件的数据!" shown: the window closes
        Found,         // the grid holds the employees found
    };
    struct Result {
        Outcome outcome = Outcome::Closed;
        QString statement;  // the statement run (empty when none was)
        std::optional<data::WageGrid> grid;
    };
    // "确定": the two boxes as typed. Database faults raise DatabaseError.
    Result run(const QString& nameText, const QString& departmentText, Prompts& prompts);
    // RunQuery's statement for the two boxes (trimmed here) over the current catalogue.
    QString statementFor(const QString& nameText, const QString& departmentText) const;

    // "打印个人发放联": wage slips (slipMode -1) of the grid, no title, the unit name at the left.
    print::PrintPreviewRequest slipsRequest(const data::WageGrid& grid, float printFontSize) const;

    const data::WageCatalogue& catalogue() const { return catalogue_; }
    float charUnit() const { return charUnit_; }

  private:
    data::WageGrid fillResultGrid(data::ResultSet& rs) const;

    const HostContext& context_;
    data::CharUnitMeasure measure_;
    data::WageCatalogue catalogue_;
    float charUnit_ = 0;
    bool showZeros_ = true;
};

}  // namespace slp::windows::query
