#include "print/page_recorder.h"

#include "print/font_metrics.h"

namespace slp::print {

PageRecorder::PageRecorder(Sheet sheet) : sheet_(sheet) {
    page_.size = sheet_.size;
}

PageRecorder::~PageRecorder() = default;

void PageRecorder::setSheet(const Sheet& sheet) {
    if (sheet.dpi != sheet_.dpi) font_ = nullptr;
    sheet_ = sheet;
    if (page_.empty()) page_.size = sheet_.size;
}

Page PageRecorder::takePage() {
    Page taken = std::move(page_);
    page_ = Page{};
    page_.size = sheet_.size;
    homeCursor();
    return taken;
}

void PageRecorder::clearPage() {
    takePage();
}

void PageRecorder::SetFontSize(float points) {
    const float before = FontSize();
    BasicPrintTarget::SetFontSize(points);
    if (FontSize() != before) font_ = nullptr;
}

void PageRecorder::SetFontName(const QString& face) {
    const bool same = face == FontName();
    BasicPrintTarget::SetFontName(face);
    if (!same) font_ = nullptr;
}

void PageRecorder::SetFontBold(bool bold) {
    if (bold != FontBold()) font_ = nullptr;
    BasicPrintTarget::SetFontBold(bold);
}

MeasuredFont& PageRecorder::font() {
    if (font_) return *font_;
    const QString face = FontName();
    for (const Recent& r : recent_) {
        if (r.font && r.size == FontSize() && r.bold == FontBold() && r.dpi == sheet_.dpi && r.face == face) {
            font_ = r.font;
            return *font_;
        }
    }
    font_ = FontMetrics::instance().font(face, FontSize(), FontBold(), sheet_.dpi);
    recent_[nextRecent_] = Recent{face, FontSize(), FontBold(), sheet_.dpi, font_};
    nextRecent_ = (nextRecent_ + 1) % recent_.size();
    return *font_;
}

float PageRecorder::TextWidth(const QString& text) {
    return font().width(text);
}

float PageRecorder::TextHeight(const QString&) {
    return float(font().height());
}

bool PageRecorder::faceAvailable(const QString& face) const {
    return FontMetrics::instance().faceAvailable(face);
}

void PageRecorder::Line(float x1, float y1, float x2, float y2) {
    page_.lines.push_back(PageLine{QLineF(x1, y1, x2, y2), DrawWidth()});
}

void PageRecorder::drawText(float x, float y, const QString& text) {
    if (text.isEmpty()) return;
    page_.texts.push_back(PageText{QPointF(x, y), text, FontName(), FontSize(), FontBold()});
}

void PageRecorder::EndDoc() {
    page_.endsJob = true;
    if (onEndDoc_) {
        onEndDoc_();
    } else if (sheet_.kind == TargetKind::Printer) {
        homeCursor();
    }
}

}  // namespace slp::print
