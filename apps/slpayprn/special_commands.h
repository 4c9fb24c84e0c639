#pragma once
// The special print on pre-printed forms on the command line: the stored layout as tab-separated text,
// storing a layout (from such text, or the designer's default), and the jobs the designer's 打印 sends.
#include <QByteArray>
#include <QList>
#include <vector>

#include "commands.h"
#include "windows/special_print/layout_table.h"

namespace slp::app {

// The layout as text: caption row 项目名称, X坐标, Y坐标, 序号, 位置, 是否打印名称, a row a caption.
QByteArray layoutAsTsv(const std::vector<windows::special::LayoutRow>& rows);
// Rows of such text (caption row skipped when present, 序号 ignored). Throws UsageError naming the
// line of a row that does not read.
std::vector<windows::special::LayoutRow> layoutFromTsv(const QString& text);

// slpayprn layout show | layout save [FILE.tsv] | print special --pdf-dir DIR [...]
QList<Command> specialCommands();

}  // namespace slp::app
