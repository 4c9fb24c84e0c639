// bench_wage_grid: the employee table's reading and filling of a month, timed by phase.
//   bench_wage_grid create FILE EMPLOYEES     writes the demo database (replacing FILE)
//   bench_wage_grid query FILE                prints the item query as the engine runs it
//   bench_wage_grid fill FILE                 loads the catalogue, reads the month, fills a WageGrid
#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

#include "basic/conversions.h"
#include "basic/prompts.h"
#include "data/amount_format.h"
#include "data/column_widths.h"
#include "data/database.h"
#include "data/demo_database.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/font_metrics.h"

using namespace Qt::StringLiterals;
using namespace slp::data;

namespace {

const QString kMonth = u"2000-04"_s;

// Messages go to the error output; nothing here asks questions.
class ConsolePrompts : public slp::Prompts {
  public:
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override { return {}; }
    slp::MessageAnswer messageBox(const QString& text, const QString&, slp::MessageIcon,
                                  slp::MessageButtons) override {
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        return slp::MessageAnswer::Ok;
    }
    std::optional<QString> saveFile(const slp::SaveDialogRequest&) override { return {}; }
};

QString itemQuery(const WageCatalogue& c) {
    QString q = u"select "_s;
    for (int k = 0; k + 1 < c.itemCount; ++k) q += u'[' + c.itemName[k] + u"],"_s;
    q += u'[' + c.itemName[c.itemCount - 1] + u']' + u" from 16工资输出数据 where 工作年月='"_s + kMonth +
         u"' order by 部门号"_s;
    return q;
}

void print(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

int fill(const QString& file) {
    QElapsedTimer total;
    total.start();
    Database db(u"sqlite:"_s + file);
    ConsolePrompts prompts;
    WageCatalogue c;
    if (!LoadWageItems(db, kMonth, prompts, c)) return 1;
    const qint64 catalogueMs = total.elapsed();

    QElapsedTimer phase;
    phase.start();
    ResultSet rs = db.open(itemQuery(c));
    if (rs.eof()) return 1;
    rs.moveLast();
    const qint64 readMs = phase.restart();

    // As the employee table fills its grid, zeros shown.
    const int f = c.firstAmountIndex;
    WageGrid grid(rs.recordCount() + 2, c.itemCount + 1);
    grid.setFixedRows(1);
    grid.setFixedCols(f);
    std::vector<AmountFormat> formats;
    for (const QString& format : c.itemFormat) formats.emplace_back(format);
    AmountFormat::Buffer buffer;
    QString spill;
    for (int r = 1; r <= grid.rows() - 2; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        for (int col = 1; col <= f; ++col) grid.setText(r, col, rs.text(col - 1));
        for (int col = f + 1; col < grid.cols(); ++col) {
            grid.setText(r, col, formats[size_t(col - 1)].format(rs.number(col - 1), buffer, spill));
        }
    }
    grid.setText(0, 0, u"序号"_s);
    for (int col = 1; col < grid.cols(); ++col) grid.setText(0, col, c.itemName[col - 1]);
    applyColumnWidths(grid, c, employeeTableColumns(grid.cols()),
                      slp::print::measureCharUnit(grid.fontName(), 9));
    const qint64 fillMs = phase.elapsed();
    const size_t resultBytes = rs.storageBytes();
    rs.close();

    print(
        u"rows %1, columns %2: catalogue %3 ms, read %4 ms (%5 MB), fill %6 ms (%7 bytes a cell), "
        "total %8 ms\n"_s.arg(grid.rows() - 2)
            .arg(grid.cols())
            .arg(catalogueMs)
            .arg(readMs)
            .arg(double(resultBytes) / 1e6, 0, 'f', 1)
            .arg(fillMs)
            .arg(grid.bytesPerCell(), 0, 'f', 1)
            .arg(total.elapsed()));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    try {
        if (args.size() == 4 && args[1] == u"create") {
            DemoOptions options;
            options.employees = args[3].toInt();
            options.replace = true;
            QElapsedTimer t;
            t.start();
            createDemoDatabase(args[2], options);
            print(u"created %1 employees in %2 ms\n"_s.arg(options.employees).arg(t.elapsed()));
            return 0;
        }
        if (args.size() == 3 && args[1] == u"query") {
            Database db(u"sqlite:"_s + args[2]);
            ConsolePrompts prompts;
            WageCatalogue c;
            if (!LoadWageItems(db, kMonth, prompts, c)) return 1;
            print(db.translate(itemQuery(c)) + u'\n');
            return 0;
        }
        if (args.size() == 3 && args[1] == u"fill") return fill(args[2]);
    } catch (const slp::Error& e) {
        std::fprintf(stderr, "%s\n", e.description().toUtf8().constData());
        return 1;
    }
    std::fprintf(stderr, "usage: bench_wage_grid create FILE N | query FILE | fill FILE\n");
    return 2;
}
