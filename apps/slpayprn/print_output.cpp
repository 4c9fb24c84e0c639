#include "print_output.h"

#include <QDir>
#include <cstdio>

#include "basic/conversions.h"
#include "print/pdf_print_choice.h"
#include "print_commands.h"

using namespace Qt::StringLiterals;

namespace slp::app {

PaperChoice paperChoice(const ParsedArgs& args) {
    PaperChoice choice;
    if (args.has(u"paper"_s)) {
        choice.paper = print::paperNamed(args.value(u"paper"_s));
        if (!choice.paper) {
            throw UsageError(
                u"--paper takes a paper name (A4, A3, B5, Letter, Legal, ...) or WIDTHxHEIGHTmm, not "_s +
                args.value(u"paper"_s));
        }
    }
    choice.landscape = args.has(u"landscape"_s);
    return choice;
}

void checkPrintOutput(const ParsedArgs& args) {
    const bool dir = args.has(u"pdf-dir"_s);
    const bool file = args.has(u"one-file"_s);
    if (dir && file) throw UsageError(u"print takes --pdf-dir DIR or --one-file FILE.pdf, not both"_s);
    if (!dir && !file) throw UsageError(u"print needs --pdf-dir DIR or --one-file FILE.pdf"_s);
    if (dir && args.value(u"pdf-dir"_s).isEmpty()) throw UsageError(u"print needs --pdf-dir DIR"_s);
    if (file && !args.value(u"one-file"_s).endsWith(u".pdf"_s, Qt::CaseInsensitive)) {
        throw UsageError(u"--one-file takes a FILE ending in .pdf"_s);
    }
    paperChoice(args);
}

PrintOutput openPrintOutput(const ParsedArgs& args, const settings::Store& store) {
    checkPrintOutput(args);
    const PaperChoice choice = paperChoice(args);
    const print::PdfPrintSetup remembered = print::loadPdfPrintSetup(store);
    const QPageSize paper = choice.paper.value_or(remembered.paper);
    // --paper alone is portrait; neither option: the remembered orientation.
    QPageLayout::Orientation orientation = choice.paper ? QPageLayout::Portrait : remembered.orientation;
    if (choice.landscape) orientation = QPageLayout::Landscape;
    PrintOutput output;
    if (args.has(u"one-file"_s)) {
        output.printer = print::PdfSpoolPrinter::oneFile(args.value(u"one-file"_s), paper, orientation);
        output.oneFile = true;
    } else {
        output.printer =
            std::make_unique<print::PdfSpoolPrinter>(args.value(u"pdf-dir"_s), paper, orientation);
    }
    return output;
}

void finishPrintOutput(PrintOutput& output) {
    if (output.oneFile) output.printer->finishFile();
    printFiles(output.printer->writtenFiles());
}

QList<OptionSpec> paperOptions() {
    return {{u"paper"_s, true,
             u"NAME  paper size: A4, A3, B5, Letter, Legal, ... or WIDTHxHEIGHTmm (default: the paper "_s
             u"remembered for 打印到PDF文件, A4 at first)"_s},
            {u"landscape"_s, false, u"      landscape paper"_s}};
}

QList<OptionSpec> printOutputOptions() {
    return QList<OptionSpec>{
               {u"pdf-dir"_s, true, u"DIR   folder for the PDF files, one a print job (job-0001.pdf, ...)"_s},
               {u"one-file"_s, true, u"FILE  the whole range as one PDF document FILE.pdf instead"_s}} +
           paperOptions();
}

QString safeFileName(const QString& text) {
    QString name;
    name.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        const bool unsafe = u < 0x20 || u == 0x7f || u == u'/' || u == u'\\' || u == u':' || u == u'*' ||
                            u == u'?' || u == u'"' || u == u'<' || u == u'>' || u == u'|' ||
                            c.category() == QChar::Other_Format || c.category() == QChar::Other_Control;
        name += unsafe ? QChar(u'_') : c;
    }
    qsizetype start = 0;
    while (start < name.size() && (name[start] == u'.' || name[start].isSpace())) ++start;
    qsizetype end = name.size();
    while (end > start && (name[end - 1] == u'.' || name[end - 1].isSpace())) --end;
    name = name.mid(start, end - start);
    // Cut at a whole character (a surrogate pair stays whole) within 200 bytes.
    while (name.toUtf8().size() > 200) {
        name.chop(name.size() >= 2 && name.back().isLowSurrogate() ? 2 : 1);
    }
    return name.isEmpty() ? u"_"_s : name;
}

}  // namespace slp::app
