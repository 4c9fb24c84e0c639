#include "data/engine_message.h"

#include <QStringView>

using namespace Qt::StringLiterals;

namespace slp::data {

namespace {

struct KnownMessage {
    QStringView engine;  // how the engine's message begins or what it contains, case ignored
    QStringView chinese;
};

// SQLite's messages (sqlite3_errmsg, sqlite3_errstr) and the PostgreSQL client's most common ones.
constexpr KnownMessage kKnown[] = {
    {u"no such table", u"找不到数据表"},
    {u"no such column", u"找不到字段"},
    {u"no such function", u"查询用到的函数不存在"},
    {u"syntax error", u"查询语句有语法错误"},
    {u"database is locked", u"数据库正被别的程序使用（已锁定），请稍后再试"},
    {u"database table is locked", u"数据表正被别的程序使用（已锁定），请稍后再试"},
    {u"unable to open database file", u"无法打开数据库文件"},
    {u"file is not a database", u"这个文件不是数据库"},
    {u"file is encrypted or is not a database", u"这个文件不是数据库"},
    {u"database disk image is malformed", u"数据库文件已损坏"},
    {u"attempt to write a readonly database", u"数据库是只读的，不能写入"},
    {u"readonly database", u"数据库是只读的，不能写入"},
    {u"database or disk is full", u"磁盘已满"},
    {u"disk I/O error", u"读写磁盘出错"},
    {u"out of memory", u"内存不足"},
    {u"interrupted", u"查询被中断"},
    {u"constraint failed", u"数据不符合数据表的约束"},
    {u"UNIQUE constraint failed", u"数据与已有的记录重复"},
    {u"NOT NULL constraint failed", u"必填的字段是空的"},
    {u"already exists", u"同名的数据表已经存在"},
    {u"datatype mismatch", u"数据类型不符"},
    {u"too many", u"超出数据库的限制"},
    {u"string or blob too big", u"文字或数据太长"},
    {u"does not exist", u"找不到数据库对象"},
    {u"password authentication failed", u"数据库服务器拒绝了用户名或密码"},
    {u"could not connect to server", u"无法连接数据库服务器"},
    {u"Connection refused", u"无法连接数据库服务器"},
    {u"server closed the connection", u"数据库服务器断开了连接"},
    {u"permission denied", u"没有访问权限"},
};

// The component's own messages begin with a Chinese word; the engines' with an English one.
bool beginsInChinese(const QString& text) {
    return !text.isEmpty() && text.front().unicode() >= 0x2E80;
}

}  // namespace

QString engineMessageInChinese(const QString& engineWords) {
    const QString words = engineWords.trimmed();
    if (words.isEmpty()) return u"数据库引擎报告错误"_s;
    if (beginsInChinese(words)) return words;
    // The longest match wins: "UNIQUE constraint failed" over "constraint failed".
    const KnownMessage* best = nullptr;
    for (const KnownMessage& k : kKnown) {
        if (words.contains(k.engine, Qt::CaseInsensitive) && (!best || k.engine.size() > best->engine.size()))
            best = &k;
    }
    const QString meaning = best ? best->chinese.toString() : u"数据库引擎报告错误"_s;
    return meaning + u"（"_s + words + u"）"_s;
}

}  // namespace slp::data
