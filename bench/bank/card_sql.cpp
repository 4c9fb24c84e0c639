// Prints the card query of a month as the card export window sends it to SQLite (after translation),
// so that the sqlite3 command-line program can run the very same statement with the helpers loaded
// from sqlite_extension.cpp. run_bank.sh times it that way.
//
//   bench_card_sql DATABASE [MONTH [SORT_COLUMN]]
#include <QCoreApplication>
#include <cstdio>

#include "app/card_export/card_query.h"
#include "basic/error.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fputs("usage: bench_card_sql DATABASE [MONTH [SORT_COLUMN]]\n", stderr);
        return 2;
    }
    const QString month = args.value(1, u"2000-04"_s);
    const QString sort = args.value(2, u"[16工资输出数据].工号"_s);
    try {
        slp::data::Database db(u"sqlite:"_s + args[0]);
        slp::data::ResultSet items = db.open(slp::card::cardItemsQuery(month));
        if (items.eof()) {
            std::fputs("本月公式未设置!\n", stderr);
            return 1;
        }
        items.moveLast();
        const QString amountItem = items.text(u"项目名称");
        const QByteArray sql =
            (db.translate(slp::card::cardQuery(amountItem, sort, month)) + u";\n"_s).toUtf8();
        std::fwrite(sql.constData(), 1, size_t(sql.size()), stdout);
    } catch (const slp::Error& e) {
        std::fputs(qPrintable(e.description() + u'\n'), stderr);
        return 1;
    }
    return 0;
}
