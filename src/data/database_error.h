#pragma once
// What the database layer throws: the engine's message, the query text as the caller wrote it and,
// when it was translated, the text the engine was given.
#include <QString>

#include "basic/error.h"

namespace slp::data {

// Error numbers of the host engine for the faults of the result-set model itself; every fault the
// engine reports carries slp::errnum::Database.
namespace dberr {
inline constexpr int InvalidArgument = 3001;  // "无效参数。"
inline constexpr int NoCurrentRecord = 3021;  // "无当前记录。"
inline constexpr int FileNotFound = 3024;     // "找不到文件 '...'。"
inline constexpr int ItemNotFound = 3265;     // "在此集合中找不到项目。"
inline constexpr int ObjectClosed = 3420;     // "对象无效或不再设置。"
}  // namespace dberr

class DatabaseError : public slp::Error {
  public:
    // engineCode: the engine's own error code (SQLite extended result code), 0 when not from the engine.
    DatabaseError(int number, const QString& message, const QString& query = QString(),
                  const QString& engineQuery = QString(), int engineCode = 0)
        : slp::Error(number, message), query_(query), engineQuery_(engineQuery), engineCode_(engineCode) {}

    const QString& message() const { return description(); }
    // The query text as the caller gave it (empty for faults that are not about a query).
    const QString& query() const { return query_; }
    // The text in the engine's dialect that failed; empty when the query never reached the engine.
    const QString& engineQuery() const { return engineQuery_; }
    int engineCode() const { return engineCode_; }

  private:
    QString query_;
    QString engineQuery_;
    int engineCode_;
};

}  // namespace slp::data
