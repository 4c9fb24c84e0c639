#pragma once
// A row of the special print's layout: a caption of the sheet and where its value prints. The layout
// table that stores the rows is app/special_print/layout_table.h.
#include <QString>
#include <cstdint>

namespace slp::windows::special {

// Where a value prints around its caption's point.
enum PositionCode : int16_t { Below = 0, Above = 1, LeftOf = 2, RightOf = 3 };

struct LayoutRow {
    QString caption;         // 项目名称: the wage item's name, or "发薪日期"
    float x = 0;             // X坐标, twips from the sheet's left edge
    float y = 0;             // Y坐标, twips from the sheet's top edge
    int16_t order = 0;       // 序号
    int16_t position = 0;    // 位置, a PositionCode
    bool printName = false;  // 是否打印名称
    friend bool operator==(const LayoutRow&, const LayoutRow&) = default;
};

}  // namespace slp::windows::special
