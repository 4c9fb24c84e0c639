// The engine's faults told in Chinese with the engine's own words kept after, from the messages to a real
// SQLite database.
#include "data/engine_message.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "data/database.h"
#include "data/database_error.h"

using namespace Qt::StringLiterals;
using slp::data::engineMessageInChinese;

namespace {

TEST(EngineMessage, KnownMessagesAreSaidInChineseWithTheEngineWordsAfter) {
    const struct {
        const char16_t* engine;
        const char16_t* told;
    } cases[] = {
        {u"no such table: 16工资输出数据", u"找不到数据表（no such table: 16工资输出数据）"},
        {u"no such column: 实发工资 Unable to execute statement",
         u"找不到字段（no such column: 实发工资 Unable to execute statement）"},
        {u"database is locked", u"数据库正被别的程序使用（已锁定），请稍后再试（database is locked）"},
        {u"UNIQUE constraint failed: t.a", u"数据与已有的记录重复（UNIQUE constraint failed: t.a）"},
        {u"something new", u"数据库引擎报告错误（something new）"},
        {u"  ", u"数据库引擎报告错误"},
        {u"找不到文件 'x.db'。", u"找不到文件 'x.db'。"},  // the component's own words stay as they are
    };
    for (const auto& c : cases) {
        EXPECT_EQ(engineMessageInChinese(QString::fromUtf16(c.engine)), QString::fromUtf16(c.told))
            << QString::fromUtf16(c.engine).toStdString();
    }
}

TEST(EngineMessage, AQueryOfAMissingTableIsToldInChinese) {
    QTemporaryDir dir;
    slp::data::Database::Options options;
    options.createIfMissing = true;
    slp::data::Database db(u"sqlite:"_s + dir.filePath(u"w.db"_s), options);
    try {
        db.open(u"select * from 16工资输出数据"_s);
        FAIL() << "no error";
    } catch (const slp::data::DatabaseError& e) {
        EXPECT_TRUE(e.description().startsWith(u"找不到数据表（"_s)) << e.description().toStdString();
        EXPECT_TRUE(e.description().contains(u"no such table"_s)) << e.description().toStdString();
    }
}

}  // namespace
