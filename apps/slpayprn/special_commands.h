#pragma once
// The special print on pre-printed forms on the command line: the stored layout as tab-separated text,
// storing a layout (from such text, or the designer's default), and the jobs the designer's 打印 sends.
#include <QByteArray>
#include <QList>
#include <vector>

#include "app/special_print/layout_table.h"
#include "commands.h"

namespace slp::app {

// The rows of a layout given as text (windows/special_print/layout_text.h); a row that does not read is
// a UsageError naming its line.
std::vector<windows::special::LayoutRow> layoutFromTsvOrUsage(const QString& text);

// slpayprn layout show | layout save [FILE.tsv] | print special --pdf-dir DIR [...]
QList<Command> specialCommands();

}  // namespace slp::app
