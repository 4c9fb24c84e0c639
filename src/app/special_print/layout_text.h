#pragma once
// The layout of 特殊打印设置 as tab-separated text, for the command line's layout show and layout save:
// caption row 项目名称, X坐标, Y坐标, 序号, 位置, 是否打印名称, then a row a caption (twips; 位置 0 below,
// 1 above, 2 left, 3 right of the caption).
#include <QByteArray>
#include <QString>
#include <vector>

#include "app/special_print/layout_table.h"

namespace slp::windows::special {

QByteArray layoutAsTsv(const std::vector<LayoutRow>& rows);

// A line of layout text that is no layout row: its number (from 1) and why.
struct LayoutTextError {
    int line;
    QString reason;
};

// Rows of such text (caption row skipped when present, 序号 given anew in order). A row that does not
// read (not six fields, a number that is none, a position off the page, 位置 other than 0 to 3, a
// 是否打印名称 other than True or False) throws LayoutTextError: nothing is half read.
std::vector<LayoutRow> layoutFromTsv(const QString& text);

}  // namespace slp::windows::special
