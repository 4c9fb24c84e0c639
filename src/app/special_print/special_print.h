#pragma once
// What the special print reads and asks before it prints (print/reports/special_report.h): the month's
// items and records, the range of records, the clerk's messages.
#include <QString>
#include <QStringList>
#include <optional>
#include <utility>

#include "app/special_print/layout_table.h"
#include "print/reports/special_report.h"

namespace slp {
class Prompts;
}
namespace slp::data {
class Database;
}

namespace slp::windows::special {

// The month's item names in item order.
QString specialItemsQuery(const QString& monthKey);
// A column name as the data query writes it: bare when the host's dialect reads it as one name,
// else between brackets.
QString columnName(QStringView itemName);
// " select a,b,… from  <data table> where 工作年月= '<month>' <order clause>".
QString specialDataQuery(const QStringList& items, const QString& dataTable, const QString& monthKey,
                         const QString& orderClause);

// The formats of SpecialData's columns for the month's catalogue.
std::vector<std::optional<QString>> specialValueFormats(data::Database& database, const QString& monthKey);
// Opens the data query and the layout. Database errors go to the caller.
SpecialData openSpecialData(data::Database& database, const QString& monthKey, const QString& orderClause,
                            const QString& dataTable, const QString& payDate);

// The range asked for with 是否选择打印条件: (first, last) from 1, or nullopt when an answer is 0 or the
// box is cancelled.
std::optional<std::pair<int, int>> askRange(Prompts& prompts, int recordCount);
QString firstPrompt(int recordCount);
QString lastPrompt(int first, int recordCount);

// "将打印N个作业…是否继续?"
QString manyJobsQuestion(int jobs, bool files);

// What the clerk is told when a range prints nothing (first after last).
QString emptyRangeMessage(int first, int last, int recordCount);

// Twips of a calibration given in millimetres.
double mmToTwips(double mm);

}  // namespace slp::windows::special
