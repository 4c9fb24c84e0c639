#include "grid_commands.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>

#include "app/employee_table/employee_table.h"
#include "app/query/conditional_query.h"
#include "app/query/query_conditions.h"
#include "app/shared/error_report.h"
#include "app/shared/host_database.h"
#include "app/shared/open_host.h"
#include "basic/error.h"
#include "basic/file_replace.h"
#include "data/database.h"
#include "default_database.h"
#include "export/sheet_writer.h"
#include "export/spreadsheet_export.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

void writeBytes(FILE* stream, const QByteArray& bytes) {
    writeOut(stream, bytes);
}

}  // namespace

void printMessage(const QString& text) {
    writeBytes(stderr, (text + u'\n').toUtf8());
}

void printError(const std::exception& error) {
    const windows::ErrorReport r = windows::describeError(error);
    printMessage(windows::errorTitle(r.number) + u' ' + r.description);
}

std::optional<QString> MessagesToStderr::inputBox(const QString&, const QString&, const QString&) {
    return std::nullopt;
}

MessageAnswer MessagesToStderr::messageBox(const QString& text, const QString& title, MessageIcon,
                                           MessageButtons buttons) {
    printMessage((title.isEmpty() ? QString() : title + u' ') + text);
    return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
}

HostRequest hostRequest(const HostOptions& options) {
    HostRequest request;
    request.unitCode = options.unitCode;
    request.unitName = options.unitName;
    request.month = options.month;
    request.payDay = options.payDay;
    return request;
}

bool openHostSession(HostSession& session, const HostOptions& options) {
    HostRequest request = hostRequest(options);
    request.rowsRead = [&progress = session.progress](int rows) { progress.show(rowsReadProgress(rows)); };
    try {
        request.connection = connectionFor(options);
    } catch (const std::exception& e) {
        printError(e);
        return false;
    }
    return openHost(session.host, request, session.prompts);
}

namespace {

// The employee table as the command line opens it: the zero display and the print font size its own.
void openEmployeeTable(windows::employee::EmployeeTable& table, bool showZeros, float printFontSize) {
    try {
        table.beginOpening();
    } catch (const std::exception&) {
        // The zero display is the command line's; a stored setting that does not convert is not used.
    }
    table.setShowZeros(showZeros);
    if (printFontSize != table.printFontSize()) {
        table.setPrintFontSize(printFontSize);
        table.setCharUnit(table.measure()(u"宋体"_s, printFontSize));
    }
}

}  // namespace

std::optional<data::WageGrid> employeeGrid(HostSession& session, bool showZeros, float printFontSize) {
    windows::employee::EmployeeTable table(session.host, session.store);
    try {
        openEmployeeTable(table, showZeros, printFontSize);
        if (!table.loadCatalogue(session.prompts)) return std::nullopt;
        std::optional<data::WageGrid> grid = table.buildGrid(session.prompts);
        session.progress.clear();
        return grid;
    } catch (const std::exception& e) {
        printError(e);
        return std::nullopt;
    }
}

namespace {

// Writes a cell as UTF-8 at `out` (room for three bytes a UTF-16 unit), a tab or line break inside it
// as a blank. Returns the end of what was written.
char* writeField(char* out, QStringView text) {
    const qsizetype n = text.size();
    const QChar* p = text.data();
    for (qsizetype i = 0; i < n; ++i) {
        char32_t u = p[i].unicode();
        if (u < 0x80) {
            *out++ = (u == u'\t' || u == u'\n' || u == u'\r') ? ' ' : char(u);
            continue;
        }
        if (QChar::isHighSurrogate(u) && i + 1 < n && p[i + 1].isLowSurrogate()) {
            u = QChar::surrogateToUcs4(char16_t(u), p[++i].unicode());
        } else if (QChar::isSurrogate(u)) {
            u = 0xFFFD;  // a lone half of a pair
        }
        if (u < 0x800) {
            *out++ = char(0xC0 | (u >> 6));
        } else {
            if (u < 0x10000) {
                *out++ = char(0xE0 | (u >> 12));
            } else {
                *out++ = char(0xF0 | (u >> 18));
                *out++ = char(0x80 | ((u >> 12) & 0x3F));
            }
            *out++ = char(0x80 | ((u >> 6) & 0x3F));
        }
        *out++ = char(0x80 | (u & 0x3F));
    }
    return out;
}

}  // namespace

void writeGridTsv(const data::WageGrid& grid, const std::function<void(const QByteArray&)>& sink) {
    // Written a piece at a time: a month of a large unit is tens of megabytes of text.
    constexpr qsizetype kPiece = 256 * 1024;
    QByteArray out;
    qsizetype used = 0;
    for (int r = 0; r < grid.rows(); ++r) {
        qsizetype room = grid.cols() + 1;
        for (int c = 0; c < grid.cols(); ++c) room += grid.textView(r, c).size() * 3;
        if (used + room > out.size()) out.resize(std::max({used + room, out.size() * 2, kPiece + room}));
        char* at = out.data() + used;
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0) *at++ = '\t';
            at = writeField(at, grid.textView(r, c));
        }
        *at++ = '\n';
        used = at - out.data();
        if (used >= kPiece) {
            sink(QByteArray::fromRawData(out.constData(), used));
            used = 0;
        }
    }
    if (used > 0) sink(QByteArray::fromRawData(out.constData(), used));
}

QByteArray gridAsTsv(const data::WageGrid& grid) {
    QByteArray all;
    writeGridTsv(grid, [&](const QByteArray& piece) { all += piece; });
    return all;
}

bool writeGrid(const data::WageGrid& grid, const QString& path) {
    if (path.isEmpty()) {
        writeGridTsv(grid, [](const QByteArray& piece) { writeBytes(stdout, piece); });
        return true;
    }
    try {
        if (path.endsWith(u".xlsx"_s, Qt::CaseInsensitive)) {
            sheet::WriteGridWorkbook(grid, path);
            return true;
        }
        try {
            replaceFile(path, gridAsTsv(grid));
        } catch (const FileWriteError& e) {
            throw Error(e.number(), u"无法写入文件 "_s + path + u"（"_s + e.description() + u"）"_s);
        }
        return true;
    } catch (const std::exception& e) {
        printError(e);
        return false;
    }
}

namespace {

// Tab-separated lines put together from cells handed over in row order, columns in order within a row
// with gaps left empty: the lines writeGridTsv writes for a grid of `cols` columns holding those cells.
class TsvLines {
  public:
    TsvLines(int cols, std::function<void(const QByteArray&)> sink) : cols_(cols), sink_(std::move(sink)) {}

    void cell(int row, int col, QStringView text) {
        if (row != row_) {
            endLine();
            row_ = row;
        }
        while (next_ < col) field({});
        field(text);
    }
    void finish() {
        endLine();
        if (used_ > 0) sink_(QByteArray::fromRawData(out_.constData(), used_));
        used_ = 0;
    }

  private:
    static constexpr qsizetype kPiece = 256 * 1024;

    void room(qsizetype n) {
        if (used_ + n > out_.size()) out_.resize(std::max({used_ + n, out_.size() * 2, kPiece + n}));
    }
    void field(QStringView text) {
        room(text.size() * 3 + 1);
        if (next_ > 0) out_[used_++] = '\t';
        used_ = writeField(out_.data() + used_, text) - out_.data();
        ++next_;
    }
    void endLine() {
        if (row_ < 0) return;
        while (next_ < cols_) field({});
        room(1);
        out_[used_++] = '\n';
        next_ = 0;
        if (used_ >= kPiece) {
            sink_(QByteArray::fromRawData(out_.constData(), used_));
            used_ = 0;
        }
    }

    int cols_;
    std::function<void(const QByteArray&)> sink_;
    int row_ = -1;
    int next_ = 0;
    QByteArray out_;
    qsizetype used_ = 0;
};

}  // namespace

bool writeEmployeeTsv(HostSession& session, bool showZeros, const QString& path) {
    windows::employee::EmployeeTable table(session.host, session.store);
    try {
        openEmployeeTable(table, showZeros, 9);
        if (!table.loadCatalogue(session.prompts)) return false;
        // To a file the text is gathered and put in its place whole; to stdout it goes a piece at a time.
        QByteArray all;
        TsvLines lines(table.catalogue().itemCount + 1, [&](const QByteArray& piece) {
            if (path.isEmpty()) {
                writeBytes(stdout, piece);
            } else {
                all += piece;
            }
        });
        const bool any =
            table.streamGridFrom(windows::requireDatabase(session.host), table.monthKey(),
                                 [&](int row, int col, QStringView text) { lines.cell(row, col, text); });
        session.progress.clear();
        if (!any) {
            session.prompts.messageBox(windows::employee::noWageDataMessage(), QString(),
                                       MessageIcon::Warning, MessageButtons::Ok);
            return false;
        }
        lines.finish();
        if (!path.isEmpty()) {
            try {
                replaceFile(path, all);
            } catch (const FileWriteError& e) {
                throw Error(e.number(), u"无法写入文件 "_s + path + u"（"_s + e.description() + u"）"_s);
            }
        }
        return true;
    } catch (const std::exception& e) {
        session.progress.clear();
        printError(e);
        return false;
    }
}

bool writeEmployeeWorkbook(HostSession& session, bool showZeros, const QString& path) {
    windows::employee::EmployeeTable table(session.host, session.store);
    try {
        openEmployeeTable(table, showZeros, 9);
        if (!table.loadCatalogue(session.prompts)) return false;
        // The file is begun with the first cell: a month without rows, or a catalogue the table cannot
        // show, is told as the grid would tell it, and no file is made.
        std::optional<sheet::SheetWriter> sheet;
        std::vector<std::optional<sheet::NumberStyle>> styles;
        const bool any = table.streamGridFrom(windows::requireDatabase(session.host), table.monthKey(),
                                              [&](int row, int col, QStringView text) {
                                                  if (!sheet) sheet.emplace(path);
                                                  // The caption row is told first: each column's
                                                  // style is looked up once, with its caption.
                                                  if (row == 0) {
                                                      const auto format = table.amountFormat(col);
                                                      if (size_t(col) >= styles.size())
                                                          styles.resize(size_t(col) + 1);
                                                      if (format)
                                                          styles[size_t(col)] = sheet::numberStyleOf(*format);
                                                  }
                                                  const auto style = row > 0 && size_t(col) < styles.size()
                                                                         ? styles[size_t(col)]
                                                                         : std::nullopt;
                                                  if (style) {
                                                      sheet->writeNumber(row, col, text, *style);
                                                  } else {
                                                      sheet->write(row, col, text);
                                                  }
                                              });
        session.progress.clear();
        if (!any) {
            session.prompts.messageBox(windows::employee::noWageDataMessage(), QString(),
                                       MessageIcon::Warning, MessageButtons::Ok);
            return false;
        }
        sheet->finish();
        return true;
    } catch (const std::exception& e) {
        session.progress.clear();
        printError(e);
        return false;
    }
}

QString gridOutPath(const ParsedArgs& args) {
    const QString path = args.value(u"out"_s);
    if (args.has(u"out"_s) && path.isEmpty()) throw UsageError(u"--out 需要一个文件名 FILE"_s);
    if (!path.isEmpty() && !path.endsWith(u".tsv"_s, Qt::CaseInsensitive) &&
        !path.endsWith(u".xlsx"_s, Qt::CaseInsensitive)) {
        throw UsageError(u"--out 的文件名应以 .tsv 或 .xlsx 结尾"_s);
    }
    return path;
}

namespace {

int runGridEmployee(const ParsedArgs& args, const HostOptions& options) {
    const QString path = gridOutPath(args);
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    if (path.endsWith(u".xlsx"_s, Qt::CaseInsensitive)) {
        return writeEmployeeWorkbook(session, !args.has(u"hide-zeros"_s), path) ? 0 : 1;
    }
    return writeEmployeeTsv(session, !args.has(u"hide-zeros"_s), path) ? 0 : 1;
}

int runGridQuery(const ParsedArgs& args, const HostOptions& options) {
    const QString path = gridOutPath(args);
    const QString name = args.value(u"name"_s);
    const QString department = args.value(u"dept"_s);
    if (windows::query::trimBlanks(name).isEmpty() && windows::query::trimBlanks(department).isEmpty()) {
        throw UsageError(u"grid query 需要 --name 或 --dept"_s);
    }
    HostSession session;
    if (!openHostSession(session, options)) return 1;
    windows::query::ConditionalQuery query(session.host);
    try {
        query.beginOpening();
        auto result = query.run(name, department, session.prompts);
        if (result.outcome != windows::query::ConditionalQuery::Outcome::Found) return 1;
        return writeGrid(*result.grid, path) ? 0 : 1;
    } catch (const std::exception& e) {
        printError(e);
        return 1;
    }
}

const OptionSpec kOutOption{u"out"_s, true, u"FILE  写入 FILE.tsv 或 FILE.xlsx 文件，而不是标准输出"_s};

}  // namespace

QList<Command> gridCommands() {
    return {
        {{u"grid"_s, u"employee"_s},
         QString(),
         u"以制表符分隔的文本输出工资输出表1的员工工资表，第一行为标题，最后一行为合计"_s,
         {{u"hide-zeros"_s, false, u"      金额为零时不显示（不显示零）"_s}, kOutOption},
         false,
         runGridEmployee},
        {{u"grid"_s, u"query"_s},
         QString(),
         u"以制表符分隔的文本输出条件查询“查询”（SlgzGRCX）的表格"_s,
         {{u"name"_s, true, u"N     姓名：以 N 开头的姓名（N 含 * 或 ? 时按整个姓名匹配）"_s},
          {u"dept"_s, true, u"D     部门号：以 D 开头，或 >=D、<=D、>D、<D"_s},
          kOutOption},
         false,
         runGridQuery},
    };
}

}  // namespace slp::app
