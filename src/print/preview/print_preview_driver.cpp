#include "print/preview/print_preview_driver.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <stdexcept>

#include "basic/clock.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "basic/prompts.h"
#include "data/host_context.h"
#include "data/wage_grid.h"
#include "print/paper_size_name.h"
#include "print/preview/no_printer.h"
#include "print/preview/preview_canvas.h"
#include "print/printer.h"
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

PrintPreviewDriver::PrintPreviewDriver(Environment env, Printer& printer, PreviewCanvas& canvas)
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
    menus_.selPage.caption = pageCaption();
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

PageMetrics PrintPreviewDriver::metrics() const {
    return {originX_, originY_, rowHeight_, textOffset_};
}

void PrintPreviewDriver::refreshSetCaptions() {
    menus_.menuSet(1).caption = u"X轴起始位置为"_s + plainNumber(originX_);
    menus_.menuSet(2).caption = u"Y轴起始位置为"_s + plainNumber(originY_);
    menus_.menuSet(3).caption = u"每行行高为"_s + plainNumber(rowHeight_);
    menus_.menuSet(4).caption = u"每页行数为"_s + QString::number(layout_.linesPerPage);
    menus_.printSet(9).caption = u"每行列数为"_s + QString::number(layout_.columnsPerLine);
    menus_.printSet(10).caption = u"非首行缩进数为"_s + QString::number(layout_.continuationIndent);
}

void PrintPreviewDriver::recomputeTextOffset() {
    textOffset_ = TextOffset(rowHeight_, canvas_.target().TextHeight(u"O"_s));
}

void PrintPreviewDriver::Form_Load() {
    reportKind_ = layout_.slipMode != 0 ? settings::kWageSlipReportKind.toString() : QString();
    auto at = [&](const settings::KeyDef& def) {
        return settings::resolve(def, host_.unitCode, reportKind_);
    };
    tolerant([&] { originX_ = settings::readSingle(store_, at(key::OriginX)); });
    tolerant([&] { originY_ = settings::readSingle(store_, at(key::OriginY)); });
    tolerant([&] { rowHeight_ = settings::readSingle(store_, at(key::RowHeight)); });
    tolerant([&] { layout_.linesPerPage = settings::readInt16(store_, at(key::LinesPerPage)); });
    recomputeTextOffset();
    tolerant([&] { layout_.columnsPerLine = settings::readInt16(store_, at(key::ColumnsPerLine)); });
    tolerant([&] { layout_.continuationIndent = settings::readInt16(store_, at(key::ContinuationIndent)); });
    refreshSetCaptions();
    tolerant([&] { menus_.printSet(21).checked = settings::readTrueFalse(store_, at(key::PrintSignOff)); });
    tolerant([&] { menus_.printSet(25).checked = settings::readTrueFalse(store_, at(key::PrintPayDate)); });
    windowCaption_ = layout_.printTitle.isEmpty() ? requestCaption_ : layout_.printTitle;
    MeasureLayout();
    LoadLineOptions();
    SetupPreview();
}

void PrintPreviewDriver::Form_Unload() {
    settings::PreviewLayoutSettings lines;
    lines.columnsPerLine = layout_.columnsPerLine;
    lines.continuationIndent = layout_.continuationIndent;
    lines.horizontalRules = menus_.printSet(5).checked;
    lines.verticalRules = menus_.printSet(6).checked;
    lines.middleRules = menus_.printSet(7).checked;
    lines.innermostMiddleRule = menus_.printSet(8).checked;
    settings::PrintOriginSettings origin{originX_, originY_, rowHeight_, layout_.linesPerPage};
    try {
        lines.save(store_, host_.unitCode, reportKind_);
    } catch (const Error& e) {
        ReportError(e);
    }
    try {
        origin.save(store_, reportKind_);
    } catch (const Error& e) {
        ReportError(e);
    }
}

void PrintPreviewDriver::MeasureLayout() {
    const LayoutMeasure m = print::MeasureLayout(layout_, *grid_, printer_->paperWidth());
    tooWide_ = m.tooWide;
    menus_.printSet(5).visible = true;
    menus_.printSet(6).visible = true;
    for (int i : {7, 8, 9}) menus_.printSet(i).visible = tooWide_;
    menus_.printSet(10).visible = tooWide_ && !layout_.fitsOneLine;
    menus_.printSet(21).visible = true;
    menus_.printSet(25).visible = true;
}

void PrintPreviewDriver::LoadLineOptions() {
    auto yes = [&](const settings::KeyDef& def) {
        return settings::readYesNo(store_, settings::resolve(def, host_.unitCode, reportKind_));
    };
    tolerant([&] { layout_.drawHorizontalLines = menus_.printSet(5).checked = yes(key::HorizontalRules); });
    tolerant([&] { layout_.drawVerticalLines = menus_.printSet(6).checked = yes(key::VerticalRules); });
    // The middle-rule menus always show what is stored, so closing writes back what was read even when
    // the layout keeps them hidden; the flags follow them only for a grid too wide for the paper.
    tolerant([&] { menus_.printSet(7).checked = yes(key::MiddleRules); });
    tolerant([&] { menus_.printSet(8).checked = yes(key::InnermostMiddleRule); });
    if (tooWide_) {
        layout_.drawMiddleLines = menus_.printSet(7).checked;
        layout_.drawCenterLine = menus_.printSet(8).checked;
        menus_.printSet(9).visible = true;
        menus_.printSet(10).visible = true;
    } else {
        for (int i : {7, 8, 9, 10}) menus_.printSet(i).visible = false;
    }
    if (layout_.slipMode != 0) {
        for (int i : {8, 9, 10}) menus_.printSet(i).visible = false;
        layout_.drawCenterLine = false;
        layout_.drawMiddleLines = false;
    }
}

bool PrintPreviewDriver::SetupPreview() {
    MeasureLayout();
    const Printer& p = *printer_;
    if (drawPreview_)
        canvas_.resize(p.printableWidth(), p.printableHeight(), p.paperWidth(), p.printableWidth());
    if (tooWide_ || layout_.slipLayout) {
        CountSlipPages();
    } else {
        CountTablePages();
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
    menus_.selPage.caption = pageCaption();
    statusTexts_[0] = u"你的打印机为"_s + p.deviceName() + u"  "_s +
                      PaperSizeName(p.paperSizeCode(), p.paperWidth(), p.paperHeight());
    statusTexts_[1] = u"每页"_s + QString::number(layout_.linesPerPage) + u"行"_s;
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

void PrintPreviewDriver::CountSlipPages() {
    print::CountSlipPages(layout_, grid_->rows(), tooWide_, printer_->printableWidth());
    // Wrapped slips taller than the count assumes go fewer to a page rather than off its bottom.
    if (tooWide_) FitWrappedSlips(layout_, grid_->rows(), WrappedSlipLinePairs(layout_, *grid_, originX_));
}

void PrintPreviewDriver::CountTablePages() {
    print::CountTablePages(layout_, grid_->rows());
}

void PrintPreviewDriver::DrawCurrentPage() {
    menus_.selPage.caption = pageCaption();
    drawOnPicture(currentPage_, 30);
}

void PrintPreviewDriver::drawOnPicture(int page, float cellInset) {
    if (!drawPreview_) return;
    shownPage_ = page;
    shownInset_ = cellInset;
    drawPicture(shownWarnings_);
}

void PrintPreviewDriver::RedrawShownPage() {
    if (!drawPreview_ || shownPage_ < 1) return;
    drawPicture(mutedWarnings_);
    mutedWarnings_.texts.clear();
}

void PrintPreviewDriver::drawPicture(WarningSink& warnings) {
    setEnvironment(warnings);
    canvas_.clear();
    layout_.printTarget = &canvas_.target();
    try {
        DrawPage(layout_, layoutKind(), metrics(), shownPage_, shownInset_);
    } catch (const std::exception& e) {
        // Shown when the page is drawn, not again when it is drawn at another scale.
        if (&warnings == &shownWarnings_) ReportError(e);
    }
    layout_.printTarget = &canvas_.target();
}

bool PrintPreviewDriver::KeyDown(PagingKey key) {
    const int16_t last = layout_.pageCount;
    int16_t next = currentPage_;
    switch (key) {
        case PagingKey::PageUp:
            if (currentPage_ > 1) next = int16_t(currentPage_ - 1);
            break;
        case PagingKey::PageDown:
            if (currentPage_ < last) next = int16_t(currentPage_ + 1);
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
    DrawCurrentPage();
    return true;
}

double PrintPreviewDriver::askValue(const QString& prompt, const QString& defaultText) {
    const std::optional<QString> answer = prompts_.inputBox(prompt, QString(), defaultText);
    return leadingValue(answer.value_or(QString()));
}

void PrintPreviewDriver::SELPAGE_Click() {
    const int16_t pages = layout_.pageCount;
    if (pages == 1) {
        drawOnPicture(1, 45);
        return;
    }
    const double v =
        askValue(u"共有"_s + QString::number(pages) + u"页,请选择预览页!"_s, QString::number(currentPage_));
    if (!(v >= 1 && v <= pages)) return;
    currentPage_ = toInt16(v);
    menus_.selPage.caption = pageCaption();
    drawOnPicture(currentPage_, 45);
}

void PrintPreviewDriver::PRINTOUT_Click() {
    if (isMissingPrinter(*printer_)) {
        prompts_.messageBox(missingPrinterMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
        return;
    }
    const int16_t pages = layout_.pageCount;
    int from = 1;
    int to = 1;
    if (pages != 1) {
        const QString total = u"共有"_s + QString::number(pages);
        const double first = askValue(total + u"页,请选择打印起始页!"_s, QString::number(currentPage_));
        if (!(first >= 1)) return;
        // A page past the last prints nothing; numbers beyond 16 bits are such pages.
        printFromPage_ = toInt16(std::min(first, 32767.0));
        const double last =
            askValue(total + u"页,打印起始页为"_s + QString::number(printFromPage_) + u",请选择打印终止页!"_s,
                     QString::number(pages));
        if (!(last >= 1)) return;
        printToPage_ = toInt16(std::min(last, 32767.0));
        from = printFromPage_;
        to = printToPage_;
    }
    try {
        if (PrintRange(from, to) > 0) tellWherePrinted(*printer_, prompts_);
    } catch (const std::exception& e) {
        ReportError(e);
    }
}

int PrintPreviewDriver::PrintRange(int from, int to, bool oneJob) {
    if (isMissingPrinter(*printer_)) throw Error(errnum::NoPrinter, noPrinterDescription());
    // Pages that would lose rows are not printed.
    if (!pagesHoldRows_) {
        prompts_.messageBox(rowsLostMessage(), QString(), MessageIcon::Information, MessageButtons::Ok);
        return 0;
    }
    setEnvironment(shownWarnings_);
    return PrintPages(layout_, *printer_, layoutKind(), metrics(), from, to, oneJob);
}

void PrintPreviewDriver::MenuSet_Click(int index) {
    static const char16_t* const prompts[] = {u"请选择打印时的X轴起始位置!", u"请选择打印时的Y轴起始位置!",
                                              u"请选择打印时的每行行高!", u"请选择打印时的每页行数!"};
    if (index < 1 || index > 4) throw std::out_of_range("MenuSet index");
    const QString current = index == 1   ? plainNumber(originX_)
                            : index == 2 ? plainNumber(originY_)
                            : index == 3 ? plainNumber(rowHeight_)
                                         : QString::number(layout_.linesPerPage);
    const double v = askValue(QString::fromUtf16(prompts[index - 1]), current);
    if (v == 0) return;
    // Negative lengths and counts, and values beyond their type, are refused like an empty answer.
    if (!(v > 0) || v > double(FLT_MAX)) return;
    const float oldOriginX = originX_, oldOriginY = originY_, oldRowHeight = rowHeight_;
    const int16_t oldLines = layout_.linesPerPage;
    switch (index) {
        case 1:
            originX_ = float(v);
            break;
        case 2:
            originY_ = float(v);
            break;
        case 3:
            rowHeight_ = float(v);
            break;
        default: {
            const double lines = std::trunc(v);
            if (lines < 1 || lines > 32767) return;
            layout_.linesPerPage = int16_t(lines);
        }
    }
    refreshSetCaptions();
    recomputeTextOffset();
    if (SetupPreview()) return;
    // Refused (the pages would be taller than the paper, said in the message): the value in force stays,
    // in the menu, on the pages and in the settings written at closing.
    originX_ = oldOriginX;
    originY_ = oldOriginY;
    rowHeight_ = oldRowHeight;
    layout_.linesPerPage = oldLines;
    refreshSetCaptions();
    recomputeTextOffset();
    SetupPreview();
}

void PrintPreviewDriver::writeSwitch(int index, bool on) {
    try {
        if (index == 21) {
            settings::PreviewLayoutSettings::savePrintSignOff(store_, host_.unitCode, reportKind_, on);
        } else {
            settings::PreviewLayoutSettings::savePrintPayDate(store_, host_.unitCode, reportKind_, on);
        }
        menus_.printSet(index).checked = on;
    } catch (const Error& e) {
        // The pages read the switch from the store: the check mark keeps showing what is stored.
        ReportError(e);
    }
}

void PrintPreviewDriver::MenuPrintSet_Click(int index) {
    PreviewMenuItem& item = menus_.printSet(index);
    switch (index) {
        case 5:
            layout_.drawHorizontalLines = item.checked = !item.checked;
            break;
        case 6:
            layout_.drawVerticalLines = item.checked = !item.checked;
            break;
        case 7:
            layout_.drawMiddleLines = item.checked = !item.checked;
            break;
        case 8:
            layout_.drawCenterLine = item.checked = !item.checked;
            break;
        case 9:
        case 10: {
            const bool columns = index == 9;
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
        case 21:
        case 25:
            writeSwitch(index, !item.checked);
            break;
        default:
            throw std::out_of_range("MenuPrintSet index");
    }
    recomputeTextOffset();
    SetupPreview();
}

void PrintPreviewDriver::ReportError(const std::exception& error) {
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
