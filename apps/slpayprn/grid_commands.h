#pragma once
// The wage grids of the command line, filled by the windows' own logic classes: the employee wage
// table (工资输出表1) and the conditional query (SlgzGRCX), written as tab-separated text or a workbook.
#include <QList>
#include <functional>
#include <optional>

#include "app/shared/open_host.h"
#include "basic/prompts.h"
#include "commands.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "progress_line.h"
#include "settings/store.h"

namespace slp::app {

// What a window would tell the clerk goes to stderr (title first when there is one); nothing is
// answered, no dialog opens.
class MessagesToStderr : public Prompts {
  public:
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override;
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    std::optional<QString> saveFile(const SaveDialogRequest&) override { return std::nullopt; }
};

// The host's fields as 打印工资 sets them from the global options, the database opened, the user's
// settings, the messages on stderr and the progress line of long work (rows read, pages written).
struct HostSession {
    HostContext host;
    settings::Store store;
    MessagesToStderr prompts;
    ProgressLine progress = ProgressLine::onStderr();
};
// The unit, month and pay day of the global options as the host hands them over (the connection is
// connectionFor's, set by the caller).
HostRequest hostRequest(const HostOptions& options);
// Fills the session through openHost; false after a message on stderr when a field is refused or the
// database cannot be opened.
bool openHostSession(HostSession& session, const HostOptions& options);

// The employee grid exactly as the window fills it at opening, with zeros shown or hidden. nullopt after
// the system's message on stderr ("未找到本月计算公,请先设置本月公式!", "未找到数据,请确定是否计算过!",
// or a database error).
std::optional<data::WageGrid> employeeGrid(HostSession& session, bool showZeros, float printFontSize = 9);

// The grid as text: one line a row, caption row first, cells separated by tabs; a tab or line break
// inside a cell becomes a blank.
QByteArray gridAsTsv(const data::WageGrid& grid);
// The same text handed to `sink` a piece of a few hundred kilobytes at a time (each piece valid during
// the call only), without holding the whole text.
void writeGridTsv(const data::WageGrid& grid, const std::function<void(const QByteArray&)>& sink);
// Writes the grid to stdout (no path), a .tsv file or a .xlsx workbook. False after a message on stderr.
bool writeGrid(const data::WageGrid& grid, const QString& path);
// grid employee --out FILE.xlsx: the employee table written into the workbook as its rows are read,
// never held whole (the same cells as writeGrid of employeeGrid's grid). False after the error or the
// message, with no file made.
bool writeEmployeeWorkbook(HostSession& session, bool showZeros, const QString& path);
// grid employee to stdout (no path) or a .tsv file: the same text writeGrid writes for employeeGrid's
// grid, put together as the month's rows are read without holding the grid. False after the error or the
// message, with no file made.
bool writeEmployeeTsv(HostSession& session, bool showZeros, const QString& path);
// The --out FILE of a grid command: empty for stdout; a FILE not ending in .tsv or .xlsx, or --out
// without one, is a wrong command line (UsageError).
QString gridOutPath(const ParsedArgs& args);

// "print a system message or error on stderr" as the commands do it.
void printMessage(const QString& text);
void printError(const std::exception& error);

// slpayprn grid employee [--hide-zeros] [--out FILE]   and   slpayprn grid query [--name N] [--dept D]
QList<Command> gridCommands();

}  // namespace slp::app
