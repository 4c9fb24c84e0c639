#include "special_commands.h"

#include <QFile>

#include "app/special_print/layout_text.h"
#include "app/special_print/special_layout.h"
#include "app/special_print/special_print.h"
#include "app/special_print/special_settings.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "data/database.h"
#include "print/chinese_fonts.h"
#include "print/pdf_spool_printer.h"
#include "print_commands.h"
#include "print_output.h"

using namespace Qt::StringLiterals;

namespace slp::app {

using namespace windows::special;

std::vector<LayoutRow> layoutFromTsvOrUsage(const QString& text) {
    try {
        return layoutFromTsv(text);
    } catch (const LayoutTextError& e) {
        throw UsageError(u"版面文件第"_s + QString::number(e.line) + u"行："_s + e.reason);
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
    if (!args.positional.isEmpty()) throw UsageError(u"layout show 不带文件参数"_s);
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
    if (args.positional.size() > 1) throw UsageError(u"layout save 最多只带一个文件 FILE.tsv"_s);
    std::optional<std::vector<LayoutRow>> given;
    if (!args.positional.isEmpty()) {
        QFile file(args.positional.front());
        if (!file.open(QIODevice::ReadOnly)) {
            printMessage(u"无法读取文件 "_s + args.positional.front() + u"（"_s + file.errorString() +
                         u"）"_s);
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
    if (!cm || !isNumericText(args.value(name))) throw UsageError(u"--"_s + name + u" 应为厘米数，至少为2"_s);
    return *cm * kTwipsPerCm;
}

// A calibration offset: millimetres, the same range as a caption's position.
std::optional<double> millimetres(const ParsedArgs& args, const QString& name) {
    if (!args.has(name)) return std::nullopt;
    const double mm = leadingValue(args.value(name));
    const double limit = kMaxPositionTwips / kTwipsPerCm * 10;
    if (!isNumericText(args.value(name)) || !positionInRange(mmToTwips(mm))) {
        throw UsageError(u"--"_s + name + u" 应为毫米数，范围为-"_s + plainNumber(limit) + u"到"_s +
                         plainNumber(limit));
    }
    return mm;
}

int runPrintSpecial(const ParsedArgs& args, const HostOptions& options) {
    checkPrintOutput(args);
    if (args.has(u"from"_s) != args.has(u"to"_s)) throw UsageError(u"--from 和 --to 必须同时给出"_s);
    const int from = wholeNumber(args, u"from"_s, 1);
    const int to = wholeNumber(args, u"to"_s, 0);
    if (args.has(u"from"_s) && (from < 1 || to < 1)) throw UsageError(u"--from 和 --to 从1算起"_s);
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
            printMessage(
                u"尚未保存打印位置：请先执行 slpayprn layout save，或在“特殊打印设置”窗口中点“确认设置”"_s);
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
         u"以制表符分隔的文本输出“特殊打印设置”已保存的打印位置（标题行为 "
         u"项目名称、X坐标、Y坐标、序号、位置、"
         u"是否打印名称；各行按序号排列）"_s,
         {},
         false,
         runLayoutShow},
        {{u"layout"_s, u"save"_s},
         u"[FILE.tsv]"_s,
         u"保存按 layout show 格式给出的打印位置（序号按行重新编排）；不带 FILE 时，像“确认设置”那样保存"
         u"本月工资项目的默认位置"_s,
         {},
         false,
         runLayoutSave},
        {{u"print"_s, u"special"_s},
         QString(),
         u"像“特殊打印设置”的“打印”那样，按已保存的位置打印本月各条记录：每页一个PDF文件（每页多条记录）"
         u"或每条记录一个（每页一条）"_s,
         printOutputOptions() +
             QList<OptionSpec>{
                 {u"one-per-page"_s, false, u"     每页只打印一条记录（是否每张只打印一个）"_s},
                 {u"keep-page-size"_s, false, u"     每页一条时保持打印机的纸张大小（按预定应大小打印）"_s},
                 {u"from"_s, true, u"N     从第几条记录开始，从1算起（与 --to 同用）"_s},
                 {u"to"_s, true, u"N     打印到第几条记录"_s},
                 {u"sheet-width"_s, true,
                  u"CM    打印宽度（厘米），至少为2（默认：已保存的纸张，18000缇）"_s},
                 {u"sheet-height"_s, true,
                  u"CM    打印高度（厘米），至少为2（默认：已保存的纸张，10000缇）"_s},
                 {u"offset-x"_s, true,
                  u"MM    打印机校准：向右的偏移（毫米），加在每个位置上（默认：已保存的）"_s},
                 {u"offset-y"_s, true, u"MM    打印机校准：向下的偏移（毫米）（默认：已保存的）"_s}},
         false,
         runPrintSpecial},
    };
}

}  // namespace slp::app
