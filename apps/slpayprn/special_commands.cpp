#include "special_commands.h"

#include <QFile>

#include "basic/conversions.h"
#include "basic/error.h"
#include "data/database.h"
#include "print/chinese_fonts.h"
#include "print/pdf_spool_printer.h"
#include "print_commands.h"
#include "print_output.h"
#include "windows/special_print/layout_text.h"
#include "windows/special_print/special_layout.h"
#include "windows/special_print/special_print.h"
#include "windows/special_print/special_settings.h"

using namespace Qt::StringLiterals;

namespace slp::app {

using namespace windows::special;

std::vector<LayoutRow> layoutFromTsvOrUsage(const QString& text) {
    try {
        return layoutFromTsv(text);
    } catch (const LayoutTextError& e) {
        throw UsageError(u"layout line "_s + QString::number(e.line) + u": "_s + e.reason);
    }
}

namespace {

QStringList monthItems(data::Database& db, const QString& monthKey) {
    QStringList items;
    data::ResultSet set = db.open(specialItemsQuery(monthKey));
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        items << set.text(0);
    }
    return items;
}

int runLayoutShow(const ParsedArgs& args, const HostOptions& options) {
    if (!args.positional.isEmpty()) throw UsageError(u"layout show takes no FILE"_s);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    try {
        writeOut(stdout, layoutAsTsv(ReadLayout(*session.host.database)));
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

int runLayoutSave(const ParsedArgs& args, const HostOptions& options) {
    if (args.positional.size() > 1) throw UsageError(u"layout save takes at most one FILE.tsv"_s);
    std::optional<std::vector<LayoutRow>> given;
    if (!args.positional.isEmpty()) {
        QFile file(args.positional.front());
        if (!file.open(QIODevice::ReadOnly)) {
            printMessage(args.positional.front() + u": "_s + file.errorString());
            return 1;
        }
        given = layoutFromTsvOrUsage(QString::fromUtf8(file.readAll()));
    }
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    try {
        data::Database& db = *session.host.database;
        EnsureLayoutTable(db);
        std::vector<LayoutRow> rows;
        if (given) {
            rows = *given;
        } else {
            const QStringList items = monthItems(db, session.host.monthKey());
            if (items.isEmpty()) {
                printMessage(u"工资项目数小于1,无法继续执行!"_s);
                return 1;
            }
            rows = defaultLayout(items);
        }
        SaveLayout(db, rows);
        printMessage(layoutSavedMessage());
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

double centimetres(const ParsedArgs& args, const QString& name, double fallbackTwips) {
    if (!args.has(name)) return fallbackTwips;
    const auto cm = acceptPaperCm(args.value(name));
    if (!cm || !isNumericText(args.value(name)))
        throw UsageError(u"--"_s + name + u" takes centimetres, at least 2"_s);
    return *cm * kTwipsPerCm;
}

// A calibration offset: millimetres, the same range as a caption's position.
std::optional<double> millimetres(const ParsedArgs& args, const QString& name) {
    if (!args.has(name)) return std::nullopt;
    const double mm = leadingValue(args.value(name));
    const double limit = kMaxPositionTwips / kTwipsPerCm * 10;
    if (!isNumericText(args.value(name)) || !positionInRange(mmToTwips(mm))) {
        throw UsageError(u"--"_s + name + u" takes millimetres, -"_s + plainNumber(limit) + u" to "_s +
                         plainNumber(limit));
    }
    return mm;
}

int runPrintSpecial(const ParsedArgs& args, const HostOptions& options) {
    checkPrintOutput(args);
    if (args.has(u"from"_s) != args.has(u"to"_s)) throw UsageError(u"--from and --to go together"_s);
    const int from = wholeNumber(args, u"from"_s, 1);
    const int to = wholeNumber(args, u"to"_s, 0);
    if (args.has(u"from"_s) && (from < 1 || to < 1)) throw UsageError(u"--from and --to count from 1"_s);
    const std::optional<double> offsetX = millimetres(args, u"offset-x"_s);
    const std::optional<double> offsetY = millimetres(args, u"offset-y"_s);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    print::registerChineseFontSubstitutes();
    const SpecialSettings stored = readSpecialSettings(session.store, session.host.unitCode);
    SpecialOptions o;
    o.onePerPage = args.has(u"one-per-page"_s);
    o.keepPageSize = args.has(u"keep-page-size"_s);
    o.sheet = QSizeF(centimetres(args, u"sheet-width"_s, stored.paper.width()),
                     centimetres(args, u"sheet-height"_s, stored.paper.height()));
    o.first = from;
    o.last = to;
    try {
        PrintOutput output = openPrintOutput(args, session.store);
        print::PdfSpoolPrinter& printer = *output.printer;
        const QPointF storedMm =
            readCalibrationMm(session.store, session.host.unitCode, printer.deviceName());
        o.calibration =
            QPointF(mmToTwips(offsetX.value_or(storedMm.x())), mmToTwips(offsetY.value_or(storedMm.y())));
        data::Database& db = *session.host.database;
        EnsureLayoutTable(db);
        if (!HasStoredLayout(db)) {
            printMessage(u"no layout stored: slpayprn layout save, or 确认设置 in 特殊打印设置"_s);
            return 1;
        }
        SpecialData data = openSpecialData(db, session.host.monthKey(), u"order by 部门号"_s,
                                           u"16工资输出数据"_s, session.host.payDate);
        QString placement;
        if (PrintSpecial(printer, data, o, &placement) == 0) {
            printMessage(emptyRangeMessage(o.first, o.last, data.rows.recordCount()));
        } else if (!placement.isEmpty()) {
            printMessage(placement);
        }
        finishPrintOutput(output);
        return 0;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

}  // namespace

QList<Command> specialCommands() {
    return {
        {{u"layout"_s, u"show"_s},
         QString(),
         u"print the stored layout of 特殊打印设置 as tab-separated text (caption row 项目名称, X坐标, "
         u"Y坐标, "
         u"序号, 位置, 是否打印名称; rows in 序号 order)"_s,
         {},
         false,
         runLayoutShow},
        {{u"layout"_s, u"save"_s},
         u"[FILE.tsv]"_s,
         u"store a layout given as layout show writes it (序号 renumbered in order), or without FILE the "
         u"designer's default layout of the month's items, as 确认设置 stores it"_s,
         {},
         false,
         runLayoutSave},
        {{u"print"_s, u"special"_s},
         QString(),
         u"print the month's records at the stored layout's positions, as 特殊打印设置's 打印 does: a PDF "
         u"file a page (several records a page) or a record (one a page)"_s,
         printOutputOptions() +
             QList<OptionSpec>{
                 {u"one-per-page"_s, false, u"     one record a page (是否每张只打印一个)"_s},
                 {u"keep-page-size"_s, false,
                  u"     keep the printer's page in one-a-page mode (按预定应大小打印)"_s},
                 {u"from"_s, true, u"N     first record, from 1 (with --to)"_s},
                 {u"to"_s, true, u"N     last record"_s},
                 {u"sheet-width"_s, true,
                  u"CM    sheet width, at least 2 (default: the stored paper, 18000 twips)"_s},
                 {u"sheet-height"_s, true,
                  u"CM    sheet height, at least 2 (default: the stored paper, 10000 twips)"_s},
                 {u"offset-x"_s, true,
                  u"MM    printer calibration, added to every position (default: stored)"_s},
                 {u"offset-y"_s, true, u"MM    printer calibration downwards (default: stored)"_s}},
         false,
         runPrintSpecial},
    };
}

}  // namespace slp::app
