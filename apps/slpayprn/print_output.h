#pragma once
// Where a print command's pages go: a PDF file a print job in a folder (--pdf-dir DIR, as the preview's
// 打印 sends them to a printer) or the whole range as one document (--one-file FILE.pdf), on the paper of
// --paper and --landscape (default: the paper remembered for "打印到PDF文件").
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <memory>
#include <optional>

#include "command_line.h"
#include "print/pdf_spool_printer.h"

namespace slp::settings {
class Store;
}

namespace slp::app {

// The paper options of the command line; what is not given is nullopt.
struct PaperChoice {
    std::optional<QPageSize> paper;
    bool landscape = false;
};
// --paper NAME and --landscape; a wrong command line for a paper name that is not known.
PaperChoice paperChoice(const ParsedArgs& args);

struct PrintOutput {
    std::unique_ptr<print::PdfSpoolPrinter> printer;
    bool oneFile = false;
};

// Checks the output options of a command line (before anything is opened): exactly one of --pdf-dir and
// --one-file (ending in .pdf). Throws UsageError.
void checkPrintOutput(const ParsedArgs& args);
// The paper a print goes on: --paper and --landscape, the remembered paper and orientation for what
// was not chosen (--paper alone is portrait).
struct PrintPaper {
    QPageSize size;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
};
PrintPaper printPaper(const ParsedArgs& args, const settings::Store& store);
// The printer of the output options on the chosen paper, the remembered paper where none was chosen,
// or in `orientation` when one is given. Throws slp::Error when the folder cannot be made.
PrintOutput openPrintOutput(const ParsedArgs& args, const settings::Store& store,
                            std::optional<QPageLayout::Orientation> orientation = std::nullopt);
// The orientation in which the paper holds a table `width` twips wide: the chosen one when it does, else
// the other when that does; nullopt when neither does.
std::optional<QPageLayout::Orientation> orientationHolding(float width, const PrintPaper& paper);
// The smallest of A4, A3, A2, A1 and A0 that holds a table `width` twips wide in landscape; empty when
// none does.
QString isoPaperHolding(float width);
// "纵向" or "横向".
QString orientationName(QPageLayout::Orientation orientation);

// Ends the output (the one file is written) and lists the files written on stdout, a line each.
void finishPrintOutput(PrintOutput& output);

// The options: --pdf-dir, --one-file, --paper, --landscape.
QList<OptionSpec> printOutputOptions();
// --paper and --landscape alone.
QList<OptionSpec> paperOptions();

// A file name made of a text for every file system: characters that are not allowed or not safe in a
// file name (path separators, controls, * ? " < > | :) become "_", leading dots and blanks and trailing
// blanks and dots are dropped, and the name is cut to 200 bytes of UTF-8; an empty result is "_".
QString safeFileName(const QString& text);

}  // namespace slp::app
