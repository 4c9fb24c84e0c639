#pragma once
// What the database engine says, told to the clerk in Chinese: the engine's words (SQLite's and the
// server's are English) follow in parentheses, unchanged, for whoever looks into the fault.
#include <QString>

namespace slp::data {

// "找不到数据表（no such table: 16工资输出数据）": the Chinese meaning of the engine's message when it is
// one the clerk is likely to meet, "数据库引擎报告错误" otherwise, then the engine's own words. A message
// that begins in Chinese (the component's own) comes back unchanged.
QString engineMessageInChinese(const QString& engineWords);

}  // namespace slp::data
