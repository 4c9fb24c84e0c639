#pragma once
// The layout table 特殊打印位置设置: one row a caption of the special print's sheet, where its value
// prints. One layout per database; rows are used by their position in 序号 order, not by name.
#include <QString>
#include <cstdint>
#include <vector>

#include "data/schema.h"
#include "print/reports/layout_row.h"

namespace slp::data {
class Database;
}

namespace slp::windows::special {

inline const QString kLayoutTable = QStringLiteral("特殊打印位置设置");
// Longest caption 项目名称 holds, in characters.
inline constexpr int kCaptionLimit = 30;
// Error number of a caption too long for its column (the host's "field too small").
inline constexpr int captionTooLongError = 3163;

// The table's six columns in creation order.
data::TableDef layoutTableDef(const QString& table = kLayoutTable);

// EnsureLayoutTable: creates the table when the database has none of exactly that name. True when it
// was created.
bool EnsureLayoutTable(data::Database& database, const QString& table = kLayoutTable);

// "select * from <table> order by 序号": the stored layout, empty when there is no table.
std::vector<LayoutRow> ReadLayout(data::Database& database, const QString& table = kLayoutTable);
bool HasStoredLayout(data::Database& database, const QString& table = kLayoutTable);

// The caption that cannot be stored ("" when every one fits).
QString tooLongCaption(const std::vector<LayoutRow>& rows);

// SaveLayout: replaces every row by `rows`, 序号 renumbered 0, 1, ... in the order given, in one
// transaction: a save that fails part-way leaves the previous layout whole. A caption longer than
// kCaptionLimit is refused (slp::Error captionTooLongError) before anything is changed. Creates the
// table when it is missing.
void SaveLayout(data::Database& database, const std::vector<LayoutRow>& rows,
                const QString& table = kLayoutTable);

// The information shown after a save.
QString layoutSavedMessage();
// The refusal of a caption too long.
QString captionTooLongMessage(const QString& caption);

}  // namespace slp::windows::special
