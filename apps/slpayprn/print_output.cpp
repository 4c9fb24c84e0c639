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
            throw UsageError(u"--paper 应为纸张名称（A4、A3、B5、Letter、Legal 等）或 宽x高mm，而不是"_s +
                             args.value(u"paper"_s));
        }
    }
    choice.landscape = args.has(u"landscape"_s);
    return choice;
}

void checkPrintOutput(const ParsedArgs& args) {
    const bool dir = args.has(u"pdf-dir"_s);
    const bool file = args.has(u"one-file"_s);
    if (dir && file)
        throw UsageError(u"打印只能选 --pdf-dir DIR 或 --one-file FILE.pdf 其中之一，不能同时使用"_s);
    if (!dir && !file)
        throw UsageError(u"打印需要 --pdf-dir DIR 或 --one-file FILE.pdf，指明PDF文件写到哪里"_s);
    if (dir && args.value(u"pdf-dir"_s).isEmpty()) throw UsageError(u"--pdf-dir 需要一个文件夹 DIR"_s);
    if (file && !args.value(u"one-file"_s).endsWith(u".pdf"_s, Qt::CaseInsensitive)) {
        throw UsageError(u"--one-file 的文件名应以 .pdf 结尾"_s);
    }
    paperChoice(args);
}

PrintPaper printPaper(const ParsedArgs& args, const settings::Store& store) {
    const PaperChoice choice = paperChoice(args);
    const print::PdfPrintSetup remembered = print::loadPdfPrintSetup(store);
    PrintPaper paper{choice.paper.value_or(remembered.paper),
                     // --paper alone is portrait; neither option: the remembered orientation.
                     choice.paper ? QPageLayout::Portrait : remembered.orientation};
    if (choice.landscape) paper.orientation = QPageLayout::Landscape;
    return paper;
}

PrintOutput openPrintOutput(const ParsedArgs& args, const settings::Store& store,
                            std::optional<QPageLayout::Orientation> turned) {
    checkPrintOutput(args);
    const PrintPaper chosen = printPaper(args, store);
    const QPageSize& paper = chosen.size;
    const QPageLayout::Orientation orientation = turned.value_or(chosen.orientation);
    PrintOutput output;
    if (args.has(u"one-file"_s)) {
        output.printer = print::PdfSpoolPrinter::oneFile(args.value(u"one-file"_s), paper, orientation);
        output.oneFile = true;
    } else {
        output.printer =
            std::make_unique<print::PdfSpoolPrinter>(args.value(u"pdf-dir"_s), paper, orientation);
    }
    // The margins of the printer setup, as the windows print with them.
    output.printer->setMarginMm(print::loadPdfPrintSetup(store).marginMm);
    return output;
}

namespace {
float paperWidthTwips(const QPageSize& size, QPageLayout::Orientation orientation) {
    return float(print::paperSizeTwips(QPageLayout(size, orientation, QMarginsF())).width());
}
}  // namespace

std::optional<QPageLayout::Orientation> orientationHolding(float width, const PrintPaper& paper) {
    const QPageLayout::Orientation other =
        paper.orientation == QPageLayout::Portrait ? QPageLayout::Landscape : QPageLayout::Portrait;
    for (const QPageLayout::Orientation o : {paper.orientation, other}) {
        if (width <= paperWidthTwips(paper.size, o)) return o;
    }
    return std::nullopt;
}

QString isoPaperHolding(float width) {
    for (const auto id : {QPageSize::A4, QPageSize::A3, QPageSize::A2, QPageSize::A1, QPageSize::A0}) {
        if (width <= paperWidthTwips(QPageSize(id), QPageLayout::Landscape))
            return print::paperNameOf(QPageSize(id));
    }
    return QString();
}

QString orientationName(QPageLayout::Orientation orientation) {
    return orientation == QPageLayout::Landscape ? u"横向"_s : u"纵向"_s;
}

void finishPrintOutput(PrintOutput& output) {
    if (output.oneFile) output.printer->finishFile();
    printFiles(output.printer->writtenFiles());
}

QList<OptionSpec> paperOptions() {
    return {
        {u"paper"_s, true,
         u"NAME  纸张大小：A4、A3、B5、Letter、Legal 等，或 宽x高mm，例如 210x297mm（默认：“打印到PDF文件”"_s
         u"记住的纸张，最初为A4）"_s},
        {u"landscape"_s, false, u"      横向打印"_s}};
}

QList<OptionSpec> printOutputOptions() {
    return QList<OptionSpec>{
               {u"pdf-dir"_s, true, u"DIR   PDF文件所在的文件夹，每个打印作业一个文件（job-0001.pdf 等）"_s},
               {u"one-file"_s, true, u"FILE  改为把整个范围写成一个PDF文件 FILE.pdf"_s}} +
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
