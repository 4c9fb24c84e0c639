#pragma once
// Printing from the command line into PDF files (one file a print job): the wage table and the wage
// slips exactly as the preview's 打印 prints them, and the strips of a range of employees as
// "打印个人发放联" prints them.
#include <QList>

#include "app/print_preview/print_preview_request.h"
#include "commands.h"
#include "grid_commands.h"

namespace slp::app {

// What the print commands of every window share.
// The file names of the print jobs on stdout, a line each.
void printFiles(const QStringList& files);
// A whole number option, `fallback` when absent; a wrong command line when it is not one.
int wholeNumber(const ParsedArgs& args, const QString& name, int fallback);
// --font-size S, accepted as the font size menu accepts it (4 to 17); 9 when absent.
float fontSize(const ParsedArgs& args);
// Prints pages `from` to `to` (below 1: the last) of a request as the preview's 打印 prints them, a PDF
// file a page or one file as the output options say (print_output.h), with the session's settings; the
// files on stdout, the preview's messages and any error on stderr. Returns the exit status (1 after an
// error, or when a message stopped all printing).
int printPreviewedPages(const print::PrintPreviewRequest& request, HostSession& session,
                        const ParsedArgs& args, int from, int to);

// slpayprn print wage-table|slips --pdf-dir DIR [--from P] [--to P]
// slpayprn print strips --pdf-dir DIR --first N --last N [--rules]
QList<Command> printCommands();

}  // namespace slp::app
