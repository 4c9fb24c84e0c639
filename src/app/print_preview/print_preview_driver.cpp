#include "app/print_preview/print_preview_driver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <limits>
#include <stdexcept>

#include "app/print_preview/preview_canvas.h"
#include "basic/clock.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/prompts.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "data/wage_items.h"
#include "print/no_printer.h"
#include "print/paper_size_name.h"
#include "print/pdf_print_choice.h"
#include "print/printer.h"
#include "print/render_support.h"
#include "print/reports/delivery.h"
#include "print/reports/wage_report.h"
#include "print/system_printer.h"
#include "settings/groups.h"
#include "settings/keys.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace key = settings::key;

namespace {

// Runs one step of the opening; a setting that does not convert leaves its variable as it was.
template <typename Step>
void tolerant(Step step) {
    try {
        step();
    } catch (const Error&) {
    }
}

}  // namespace

PrintPreviewDriver::PrintPreviewDriver(Environment env, Printer& printer, PreviewCanvas* canvas)
    : store_(env.store),
      prompts_(env.prompts),
      clock_(env.clock),
      host_(env.host),
      printer_(&printer),
      canvas_(canvas),
      shownWarnings_(env.prompts),
      grid_(std::make_shared<const data::WageGrid>(1, 1)) {
    layout_.printGrid = grid_.get();
    layout_.linesPerPage = 0;
    layout_.columnsPerLine = 0;
    layout_.continuationIndent = 0;
    menus_.pageChoice.caption = pageCaption();
}

void PrintPreviewDriver::setRequest(const PrintPreviewRequest& request) {
    if (!request.grid) throw std::invalid_argument("print preview request without a grid");
    setRequest(request, std::make_shared<const data::WageGrid>(*request.grid));
}

void PrintPreviewDriver::setRequest(const PrintPreviewRequest& request,
                                    std::shared_ptr<const data::WageGrid> grid) {
    if (!grid) throw std::invalid_argument("print preview request without a grid");
    grid_ = std::move(grid);
    layout_.printGrid = grid_.get();
    layout_.headerRowCount = request.captionRows;
    layout_.printTitle = request.title;
    requestCaption_ = request.caption;
    layout_.headerLeftText = request.leftText;
    layout_.footerText = request.footerText;
    layout_.headerRightText = request.rightText;
    layout_.slipMode = request.slipMode;
    layout_.printFontSize = request.printFontSize;
    layout_.totalsOnOneLine = request.totalsOnOneLine;
}

QStringList PrintPreviewDriver::helpLines() {
    return {u"PageDown 向下翻页  Home 第一页"_s, u"PageUp   向上翻页  End 最后一页"_s};
}

QString PrintPreviewDriver::pageCaption() const {
    return u"共"_s + QString::number(layout_.pageCount) + u"页,现第"_s + QString::number(currentPage_) +
           u"页"_s;
}

void PrintPreviewDriver::setEnvironment(WarningSink& warnings) {
    layout_.environment.store = &store_;
    layout_.environment.unitCode = host_.unitCode;
    layout_.environment.payDate = host_.payDate;
    layout_.environment.clock = &clock_;
    layout_.environment.warnings = &warnings;
}

PageGeometry PrintPreviewDriver::geometry(float cellInset) const {
    PageGeometry g;
    g.originX = originX_;
    g.originY = originY_;
    g.rowHeight = rowHeight_;
    g.textOffset = textOffset_;
    g.fontSize = layout_.printFontSize;
    g.cellInset = cellInset;
    return g;
}

void PrintPreviewDriver::refreshSetCaptions() {
    menus_.item(PageSetting::OriginX).caption = u"X轴起始位置为"_s + plainNumber(originX_);
    menus_.item(PageSetting::OriginY).caption = u"Y轴起始位置为"_s + plainNumber(originY_);
    menus_.item(PageSetting::RowHeight).caption = u"每行行高为"_s + plainNumber(rowHeight_);
    menus_.item(PageSetting::LinesPerPage).caption = u"每页行数为"_s + QString::number(linesSet_);
    menus_.item(PrintOption::ColumnsPerLine).caption =
        u"每行列数为"_s + QString::number(layout_.columnsPerLine);
    menus_.item(PrintOption::ContinuationIndent).caption =
        u"非首行缩进数为"_s + QString::number(layout_.continuationIndent);
}

void PrintPreviewDriver::recomputeTextOffset() {
    textOffset_ = TextOffset(rowHeight_, canvas_ ? canvas_->heightOfO() : layoutHeightOfO());
}

void PrintPreviewDriver::open() {
    reportKind_ = layout_.slipMode != 0 ? settings::kWageSlipReportKind.toString() : QString();
    auto at = [&](const settings::KeyDef& def) {
        return settings::resolve(def, host_.unitCode, reportKind_);
    };
    tolerant([&] { originX_ = settings::readSingle(store_, at(key::OriginX)); });
    tolerant([&] { originY_ = settings::readSingle(store_, at(key::OriginY)); });
    tolerant([&] { rowHeight_ = settings::readSingle(store_, at(key::RowHeight)); });
    tolerant([&] { layout_.linesPerPage = settings::readInt16(store_, at(key::LinesPerPage)); });
    linesSet_ = layout_.linesPerPage;
    recomputeTextOffset();
    tolerant([&] { layout_.columnsPerLine = settings::readInt16(store_, at(key::ColumnsPerLine)); });
    tolerant([&] { layout_.continuationIndent = settings::readInt16(store_, at(key::ContinuationIndent)); });
    refreshSetCaptions();
    tolerant([&] {
        menus_.item(PrintOption::PrintSignOff).checked =
            settings::readTrueFalse(store_, at(key::PrintSignOff));
    });
    tolerant([&] {
        menus_.item(PrintOption::PrintPayDate).checked =
            settings::readTrueFalse(store_, at(key::PrintPayDate));
    });
    windowCaption_ = layout_.printTitle.isEmpty() ? requestCaption_ : layout_.printTitle;
    measureLayout();
    loadLineOptions();
    setUpPages();
}

void PrintPreviewDriver::close() {
    settings::PreviewLayoutSettings lines;
    lines.columnsPerLine = layout_.columnsPerLine;
    lines.continuationIndent = layout_.continuationIndent;
    lines.horizontalRules = menus_.item(PrintOption::HorizontalRules).checked;
    lines.verticalRules = menus_.item(PrintOption::VerticalRules).checked;
    lines.middleRules = menus_.item(PrintOption::MiddleRules).checked;
    lines.innermostMiddleRule = menus_.item(PrintOption::InnermostMiddleRule).checked;
    settings::PrintOriginSettings origin{originX_, originY_, rowHeight_, linesSet_};
    try {
        lines.save(store_, host_.unitCode, reportKind_);
    } catch (const Error& e) {
        reportError(e);
    }
    try {
        origin.save(store_, reportKind_);
    } catch (const Error& e) {
        reportError(e);
    }
}

void PrintPreviewDriver::measureLayout() {
    const LayoutMeasure m = print::MeasureLayout(layout_, *grid_, printer_->paperWidth());
    tooWide_ = m.tooWide;
    menus_.item(PrintOption::HorizontalRules).visible = true;
    // Slips that fit across the paper are drawn without vertical rules: the switch is offered only where
    // it draws some (its check stays as read and is written back so).
    menus_.item(PrintOption::VerticalRules).visible = !layout_.slipLayout || tooWide_;
    for (PrintOption o :
         {PrintOption::MiddleRules, PrintOption::InnermostMiddleRule, PrintOption::ColumnsPerLine})
        menus_.item(o).visible = tooWide_;
    menus_.item(PrintOption::ContinuationIndent).visible = tooWide_ && !layout_.fitsOneLine;
    menus_.item(PrintOption::PrintSignOff).visible = true;
    menus_.item(PrintOption::PrintPayDate).visible = true;
}

void PrintPreviewDriver::loadLineOptions() {
    auto yes = [&](const settings::KeyDef& def) {
        return settings::readYesNo(store_, settings::resolve(def, host_.unitCode, reportKind_));
    };
    tolerant([&] {
        layout_.drawHorizontalLines = menus_.item(PrintOption::HorizontalRules).checked =
            yes(key::HorizontalRules);
    });
    tolerant([&] {
        layout_.drawVerticalLines = menus_.item(PrintOption::VerticalRules).checked = yes(key::VerticalRules);
    });
    // The middle-rule menus always show what is stored, so closing writes back what was read even when
    // the layout keeps them hidden; the flags follow them only for a grid too wide for the paper.
    tolerant([&] { menus_.item(PrintOption::MiddleRules).checked = yes(key::MiddleRules); });
    tolerant([&] { menus_.item(PrintOption::InnermostMiddleRule).checked = yes(key::InnermostMiddleRule); });
    if (tooWide_) {
        layout_.drawMiddleLines = menus_.item(PrintOption::MiddleRules).checked;
        layout_.drawCenterLine = menus_.item(PrintOption::InnermostMiddleRule).checked;
        menus_.item(PrintOption::ColumnsPerLine).visible = true;
        menus_.item(PrintOption::ContinuationIndent).visible = true;
    } else {
        for (PrintOption o : {PrintOption::MiddleRules, PrintOption::InnermostMiddleRule,
                              PrintOption::ColumnsPerLine, PrintOption::ContinuationIndent})
            menus_.item(o).visible = false;
    }
    if (layout_.slipMode != 0) {
        for (PrintOption o :
             {PrintOption::InnermostMiddleRule, PrintOption::ColumnsPerLine, PrintOption::ContinuationIndent})
            menus_.item(o).visible = false;
        layout_.drawCenterLine = false;
        layout_.drawMiddleLines = false;
    }
}

bool PrintPreviewDriver::setUpPages() {
    measureLayout();
    layout_.linesPerPage = linesSet_;
    fitTableToPaper();
    const Printer& p = *printer_;
    if (canvas_) canvas_->resize(p.printableWidth(), p.printableHeight(), p.paperWidth(), p.printableWidth());
    if (tooWide_ || layout_.slipLayout) {
        countSlipPages();
    } else {
        countTablePages();
    }
    // The preview warns of the line count as set; the print refuses only pages that would lose rows.
    pagesHoldRows_ = rowsLostMessage().isEmpty();
    const QString warning =
        print::rowsLostMessage(layout_.linesPerPage, rowHeight_, p.paperHeight(), originY_);
    if (!warning.isEmpty()) {
        prompts_.messageBox(warning, QString(), MessageIcon::Information, MessageButtons::Ok);
        return false;
    }
    currentPage_ = 1;
    menus_.pageChoice.caption = pageCaption();
    statusTexts_[0] = u"你的打印机为"_s + p.deviceName() + u"  "_s +
                      PaperSizeName(p.paperSizeCode(), p.paperWidth(), p.paperHeight());
    if (!paperNote_.isEmpty()) statusTexts_[0] += u"  "_s + paperNote_;
    statusTexts_[1] = u"每页"_s + QString::number(layout_.linesPerPage) + u"行"_s;
    if (!slotsNote_.isEmpty()) statusTexts_[1] += u"  "_s + slotsNote_;
    statusTexts_[2] = u"共"_s + QString::number(grid_->rows() - layout_.headerRowCount) + u"行"_s;
    statusTexts_[3] = u"共"_s + QString::number(layout_.pageCount) + u"页"_s;
    drawOnPicture(1, 30);
    return true;
}

QString PrintPreviewDriver::rowsLostMessage() const {
    // A page is too tall only for the lines it is given: a grid of few rows fits a short page whatever
    // the line count says. A slip takes two lines (its captions and its values).
    const int lines = std::clamp(grid_->rows() * (tooWide_ || layout_.slipLayout ? 2 : 1), 1, 32767);
    const int16_t linesOnAPage =
        layout_.linesPerPage < 1 ? layout_.linesPerPage : int16_t(std::min<int>(layout_.linesPerPage, lines));
    return print::rowsLostMessage(linesOnAPage, rowHeight_, printer_->paperHeight(), originY_);
}

namespace {

// Turns the printer's paper (upright or turned) keeping its size.
void turnPaper(Printer& printer, QPageLayout::Orientation orientation) {
    const QSizeF upright(std::min(printer.paperWidth(), printer.paperHeight()),
                         std::max(printer.paperWidth(), printer.paperHeight()));
    printer.setPageLayout(QPageSize(upright / 1440, QPageSize::Inch, QString(), QPageSize::ExactMatch),
                          orientation);
}

QString centimetres(float twips) {
    return QString::number(twips / 567.0, 'f', 1);
}

}  // namespace

QString paperHoldingWidth(float width, float margins) {
    // The papers of an office printer, smallest first, upright then turned.
    const std::pair<QPageSize::PageSizeId, const char16_t*> papers[] = {
        {QPageSize::A4, u"A4"}, {QPageSize::B4, u"B4"}, {QPageSize::A3, u"A3"}};
    for (const auto& [id, name] : papers) {
        const QSizeF size = QPageSize(id).sizePoints() * 20;
        if (size.width() - margins >= width) return QString::fromUtf16(name) + u"纸纵向"_s;
        if (size.height() - margins >= width) return QString::fromUtf16(name) + u"纸横向"_s;
    }
    return u"比A3更宽的纸张"_s;
}

void PrintPreviewDriver::fitTableToPaper() {
    paperNote_.clear();
    tableFitsPaper_ = true;
    Printer& p = *printer_;
    const bool table = !tooWide_ && !layout_.slipLayout;
    const render::ExtraColumns extras{menus_.item(PrintOption::PrintPayDate).checked,
                                      menus_.item(PrintOption::PrintSignOff).checked};
    // The right edge of all that is printed: the table, its pay-date and sign-off columns, the page label.
    const float width = table ? originX_ + render::tableWidth(*grid_, 1, extras).width : 0;
    const float margins = p.paperWidth() - p.printableWidth();
    const float uprightWidth = std::min(p.paperWidth(), p.paperHeight()) - margins;
    // Turned back as soon as the table no longer needs it (the sign-off column taken off, slips).
    if (turnedForTable_ && (!table || width <= uprightWidth)) {
        turnPaper(p, QPageLayout::Portrait);
        turnedForTable_ = false;
    }
    if (!table || width <= p.printableWidth()) return;
    const bool upright = p.paperWidth() <= p.paperHeight();
    if (upright && width <= p.printableHeight()) {
        turnPaper(p, QPageLayout::Landscape);
        turnedForTable_ = true;
    }
    if (width <= p.printableWidth()) {
        // The lines a page the turned paper holds, as the too-tall check counts them.
        const int fits = rowHeight_ > 0 ? int((p.paperHeight() - originY_ - 300) / rowHeight_) : linesSet_;
        if (fits >= 1 && fits < layout_.linesPerPage) layout_.linesPerPage = int16_t(fits);
        paperNote_ = u"表格宽%1厘米，纸张纵向放不下，已改为横向打印，每页%2行。"_s.arg(centimetres(width))
                         .arg(layout_.linesPerPage);
        return;
    }
    tableFitsPaper_ = false;
    paperNote_ = u"表格宽%1厘米，当前纸张横竖都放不下，右边的列将打印不全，请在打印机设置中选用%2。"_s.arg(
        centimetres(width), paperHoldingWidth(width, margins));
}

void PrintPreviewDriver::countSlipPages() {
    print::CountSlipPages(layout_, grid_->rows(), tooWide_, printer_->printableWidth());
    slotsNote_.clear();
    if (!tooWide_) return;
    // Slots too narrow for the items' texts would shrink them past reading: fewer go to a line.
    const int perLine = WidenWrappedSlots(
        layout_, WrappedSlotNeeded(*grid_, layout_.printFontSize, printer_->metricsDpi(), 45));
    if (perLine < layout_.columnsPerLine) slotsNote_ = widenedSlotsNote(layout_.columnsPerLine, perLine);
    // Wrapped slips taller than the count assumes go fewer to a page rather than off its bottom.
    FitWrappedSlips(layout_, grid_->rows(), WrappedSlipLinePairs(layout_, *grid_, originX_));
}

void PrintPreviewDriver::countTablePages() {
    print::CountTablePages(layout_, grid_->rows());
}

void PrintPreviewDriver::drawCurrentPage() {
    menus_.pageChoice.caption = pageCaption();
    drawOnPicture(currentPage_, 30);
}

void PrintPreviewDriver::drawOnPicture(int page, float cellInset) {
    if (!canvas_) return;
    shownPage_ = page;
    shownInset_ = cellInset;
    drawPicture(shownWarnings_);
}

void PrintPreviewDriver::redrawShownPage() {
    if (!canvas_ || shownPage_ < 1) return;
    drawPicture(mutedWarnings_);
    mutedWarnings_.texts.clear();
}

void PrintPreviewDriver::drawPicture(WarningSink& warnings) {
    setEnvironment(warnings);
    canvas_->clear();
    layout_.printTarget = &canvas_->target();
    try {
        WageReport(layout_, layoutKind(), geometry(shownInset_)).draw(shownPage_, canvas_->target());
    } catch (const std::exception& e) {
        // Shown when the page is drawn, not again when it is drawn at another scale.
        if (&warnings == &shownWarnings_) reportError(e);
    }
}

bool PrintPreviewDriver::turnPage(PagingKey key) {
    const int last = layout_.pageCount;
    int next = currentPage_;
    switch (key) {
        case PagingKey::PageUp:
            if (currentPage_ > 1) next = currentPage_ - 1;
            break;
        case PagingKey::PageDown:
            if (currentPage_ < last) next = currentPage_ + 1;
            break;
        case PagingKey::Home:
            next = 1;
            break;
        case PagingKey::End:
            if (last >= 1) next = last;
            break;
    }
    if (next == currentPage_) return false;
    currentPage_ = next;
    drawCurrentPage();
    return true;
}

double PrintPreviewDriver::askValue(const QString& prompt, const QString& defaultText) {
    const std::optional<QString> answer = prompts_.inputBox(prompt, QString(), defaultText);
    return leadingValue(answer.value_or(QString()));
}

void PrintPreviewDriver::choosePage() {
    const int pages = layout_.pageCount;
    if (pages == 1) {
        drawOnPicture(1, 45);
        return;
    }
    const double v =
        askValue(u"共有"_s + QString::number(pages) + u"页,请选择预览页!"_s, QString::number(currentPage_));
    if (!(v >= 1 && v <= pages)) return;
    currentPage_ = toInt32(v);
    menus_.pageChoice.caption = pageCaption();
    drawOnPicture(currentPage_, 45);
}

void PrintPreviewDriver::printChosenPages() {
    if (isMissingPrinter(*printer_)) {
        prompts_.messageBox(missingPrinterMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const int pages = layout_.pageCount;
    int from = 1;
    int to = 1;
    if (pages != 1) {
        const QString total = u"共有"_s + QString::number(pages);
        const double first = askValue(total + u"页,请选择打印起始页!"_s, QString::number(currentPage_));
        if (!(first >= 1)) return;
        // A page past the last prints nothing; numbers beyond 32 bits are such pages.
        printFromPage_ = toInt32(std::min(first, double(std::numeric_limits<int32_t>::max())));
        const double last =
            askValue(total + u"页,打印起始页为"_s + QString::number(printFromPage_) + u",请选择打印终止页!"_s,
                     QString::number(pages));
        if (!(last >= 1)) return;
        printToPage_ = toInt32(std::min(last, double(std::numeric_limits<int32_t>::max())));
        from = printFromPage_;
        to = printToPage_;
    }
    // A table wider than the paper either way: said before anything is printed.
    if (!tableFitsPaper_ &&
        prompts_.messageBox(paperNote_ + u"\n是否仍然打印?"_s, QString(), MessageIcon::Question,
                            MessageButtons::YesNo) != MessageAnswer::Yes) {
        return;
    }
    try {
        // Printed to files, they are named for the document, its month and the time of the print.
        const qsizetype filesBefore = printer_->writtenFiles().size();
        const QString name = printedFileName(windowCaption_, host_.workYear, host_.workMonth, clock_.now());
        const int printed = std::min(to, int(pages)) - from + 1;
        const PrintProgress progress =
            progressSource_ && printed > kPagesWithoutProgress ? progressSource_() : PrintProgress();
        if (printPages(from, to, false, name, progress) > 0)
            tellWherePrinted(*printer_, prompts_, filesBefore);
    } catch (const std::exception& e) {
        reportError(e);
    }
}

int PrintPreviewDriver::printPages(int from, int to, bool oneJob, const QString& fileName,
                                   const PrintProgress& progress) {
    if (isMissingPrinter(*printer_)) throw Error(errnum::NoPrinter, noPrinterDescription());
    // Pages that would lose rows are not printed.
    if (!pagesHoldRows_) {
        prompts_.messageBox(rowsLostMessage(), QString(), MessageIcon::Information, MessageButtons::Ok);
        return 0;
    }
    // Pages of the sequence numbers alone are not printed.
    if (data::hidesEveryItemColumn(*grid_, render::kHiddenWidth)) {
        prompts_.messageBox(data::noPrintedItemMessage(), QString(), MessageIcon::Warning,
                            MessageButtons::Ok);
        return 0;
    }
    setEnvironment(shownWarnings_);
    WageReport report(layout_, layoutKind(), geometry(45));
    DeliveryOptions options = splitAs(oneJob ? JobSplit::OneJob : JobSplit::JobPerPage);
    options.fileName = fileName;
    options.progress = progress;
    return deliver(report, *printer_, {from, to}, options);
}

void PrintPreviewDriver::askSetting(PageSetting setting) {
    QString prompt;
    QString current;
    switch (setting) {
        case PageSetting::OriginX:
            prompt = u"请选择打印时的X轴起始位置!"_s;
            current = plainNumber(originX_);
            break;
        case PageSetting::OriginY:
            prompt = u"请选择打印时的Y轴起始位置!"_s;
            current = plainNumber(originY_);
            break;
        case PageSetting::RowHeight:
            prompt = u"请选择打印时的每行行高!"_s;
            current = plainNumber(rowHeight_);
            break;
        case PageSetting::LinesPerPage:
            prompt = u"请选择打印时的每页行数!"_s;
            current = QString::number(linesSet_);
            break;
    }
    const double v = askValue(prompt, current);
    if (v == 0) return;
    // Negative lengths and counts, and values beyond their type, are refused like an empty answer.
    if (!(v > 0) || v > double(FLT_MAX)) return;
    const float oldOriginX = originX_, oldOriginY = originY_, oldRowHeight = rowHeight_;
    const int16_t oldLines = linesSet_;
    switch (setting) {
        case PageSetting::OriginX:
            originX_ = float(v);
            break;
        case PageSetting::OriginY:
            originY_ = float(v);
            break;
        case PageSetting::RowHeight:
            rowHeight_ = float(v);
            break;
        case PageSetting::LinesPerPage: {
            const double lines = std::trunc(v);
            if (lines < 1 || lines > 32767) return;
            linesSet_ = int16_t(lines);
        }
    }
    refreshSetCaptions();
    recomputeTextOffset();
    if (setUpPages()) return;
    // Refused (the pages would be taller than the paper, said in the message): the value in force stays,
    // in the menu, on the pages and in the settings written at closing.
    originX_ = oldOriginX;
    originY_ = oldOriginY;
    rowHeight_ = oldRowHeight;
    linesSet_ = oldLines;
    refreshSetCaptions();
    recomputeTextOffset();
    setUpPages();
}

void PrintPreviewDriver::writeSwitch(PrintOption option, bool on) {
    try {
        if (option == PrintOption::PrintSignOff) {
            settings::PreviewLayoutSettings::savePrintSignOff(store_, host_.unitCode, reportKind_, on);
        } else {
            settings::PreviewLayoutSettings::savePrintPayDate(store_, host_.unitCode, reportKind_, on);
        }
        menus_.item(option).checked = on;
    } catch (const Error& e) {
        // The pages read the switch from the store: the check mark keeps showing what is stored.
        reportError(e);
    }
}

void PrintPreviewDriver::changeOption(PrintOption option) {
    PreviewMenuItem& item = menus_.item(option);
    switch (option) {
        case PrintOption::HorizontalRules:
            layout_.drawHorizontalLines = item.checked = !item.checked;
            break;
        case PrintOption::VerticalRules:
            layout_.drawVerticalLines = item.checked = !item.checked;
            break;
        case PrintOption::MiddleRules:
            layout_.drawMiddleLines = item.checked = !item.checked;
            break;
        case PrintOption::InnermostMiddleRule:
            layout_.drawCenterLine = item.checked = !item.checked;
            break;
        case PrintOption::ColumnsPerLine:
        case PrintOption::ContinuationIndent: {
            const bool columns = option == PrintOption::ColumnsPerLine;
            int16_t& value = columns ? layout_.columnsPerLine : layout_.continuationIndent;
            const QString prompt =
                (columns ? u"请选择每行打印列数的增减数!"_s : u"请选择非首行缩进数的增减数!"_s) +
                u"\r\n\r\r    基准值为"_s + QString::number(value);
            const double v = askValue(prompt, QString());
            if (v == 0 || !std::isfinite(v)) return;
            // At least one column a line and no negative indent; anything else is refused.
            const double next = roundHalfEven(double(value) + v);
            if (next < (columns ? 1 : 0) || next > 32767) return;
            value = int16_t(next);
            item.caption = (columns ? u"每行列数为"_s : u"非首行缩进数为"_s) + QString::number(value);
            break;
        }
        case PrintOption::PrintSignOff:
        case PrintOption::PrintPayDate:
            writeSwitch(option, !item.checked);
            break;
    }
    recomputeTextOffset();
    setUpPages();
}

void PrintPreviewDriver::reportError(const std::exception& error) {
    if (const auto* e = dynamic_cast<const Error*>(&error)) {
        if (e->number() == errnum::NoPrinter) {
            prompts_.messageBox(missingPrinterMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        } else {
            prompts_.messageBox(e->description(), u"错误号"_s + QString::number(e->number()),
                                MessageIcon::Warning, MessageButtons::Ok);
        }
        return;
    }
    prompts_.messageBox(QString::fromLocal8Bit(error.what()), u"错误号"_s, MessageIcon::Warning,
                        MessageButtons::Ok);
}

}  // namespace slp::print
