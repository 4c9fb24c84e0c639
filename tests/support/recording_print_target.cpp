#include "recording_print_target.h"

#include "basic/error.h"

namespace slp::print {

namespace {
Sheet sheetOf(const RecordingPrintTarget::Setup& setup) {
    Sheet s;
    s.kind = setup.kind;
    s.size = QSizeF(setup.paperWidth, setup.height);
    s.printableHeight = setup.height;
    s.paperWidth = setup.paperWidth;
    s.printableWidth = setup.printableWidth;
    return s;
}
}  // namespace

RecordingPrintTarget::RecordingPrintTarget(Setup setup)
    : PageRecorder(sheetOf(setup)), setup_(std::move(setup)) {}

RecordedCall RecordingPrintTarget::snapshot(RecordedCall::Kind kind) const {
    RecordedCall c;
    c.kind = kind;
    c.x = CurrentX();
    c.y = CurrentY();
    c.fontSize = FontSize();
    c.fontName = FontName();
    c.bold = FontBold();
    c.drawWidth = DrawWidth();
    return c;
}

void RecordingPrintTarget::SetFontSize(float points) {
    PageRecorder::SetFontSize(points);
    calls_.push_back(snapshot(RecordedCall::FontSize));
}

void RecordingPrintTarget::SetFontName(const QString& face) {
    try {
        PageRecorder::SetFontName(face);
    } catch (const Error&) {
        auto c = snapshot(RecordedCall::FontRefused);
        c.text = face;
        calls_.push_back(c);
        throw;
    }
    auto c = snapshot(RecordedCall::FontName);
    c.text = face;
    calls_.push_back(c);
}

void RecordingPrintTarget::SetFontBold(bool bold) {
    PageRecorder::SetFontBold(bold);
    calls_.push_back(snapshot(RecordedCall::FontBold));
}

void RecordingPrintTarget::SetDrawWidth(int pixels) {
    PageRecorder::SetDrawWidth(pixels);
    calls_.push_back(snapshot(RecordedCall::DrawWidth));
}

bool RecordingPrintTarget::isFullWidth(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x1100) return false;
    if (u >= 0xFF61 && u <= 0xFFDC) return false;  // half-width katakana and hangul
    if (u >= 0xFFE8 && u <= 0xFFEE) return false;  // half-width symbols
    if (c.isLowSurrogate()) return false;          // a pair counts once, by its high half
    return true;
}

float RecordingPrintTarget::TextWidth(const QString& text) {
    float halves = 0;
    for (QChar c : text) {
        if (c.isLowSurrogate()) continue;
        halves += isFullWidth(c) ? 2 : 1;
    }
    return halves * FontSize() * 10;
}

float RecordingPrintTarget::TextHeight(const QString&) {
    return FontSize() * 20;
}

void RecordingPrintTarget::Line(float x1, float y1, float x2, float y2) {
    auto c = snapshot(RecordedCall::Line);
    c.x = x1;
    c.y = y1;
    c.x2 = x2;
    c.y2 = y2;
    calls_.push_back(c);
    PageRecorder::Line(x1, y1, x2, y2);
}

void RecordingPrintTarget::EndDoc() {
    calls_.push_back(snapshot(RecordedCall::EndDoc));
    PageRecorder::EndDoc();
    homeCursor();
}

bool RecordingPrintTarget::faceAvailable(const QString& face) const {
    return !setup_.refusedFaces.contains(face);
}

void RecordingPrintTarget::drawText(float x, float y, const QString& text) {
    auto c = snapshot(RecordedCall::Text);
    c.x = x;
    c.y = y;
    c.text = text;
    calls_.push_back(c);
    PageRecorder::drawText(x, y, text);
}

std::vector<RecordedCall> RecordingPrintTarget::only(RecordedCall::Kind kind) const {
    std::vector<RecordedCall> out;
    for (const auto& c : calls_) {
        if (c.kind == kind) out.push_back(c);
    }
    return out;
}

QStringList RecordingPrintTarget::printedTexts() const {
    QStringList out;
    for (const auto& c : calls_) {
        if (c.kind == RecordedCall::Text) out << c.text;
    }
    return out;
}

std::optional<RecordedCall> RecordingPrintTarget::findText(const QString& text) const {
    for (const auto& c : calls_) {
        if (c.kind == RecordedCall::Text && c.text == text) return c;
    }
    return std::nullopt;
}

std::vector<RecordedCall> RecordingPrintTarget::findTexts(const QString& text) const {
    std::vector<RecordedCall> out;
    for (const auto& c : calls_) {
        if (c.kind == RecordedCall::Text && c.text == text) out.push_back(c);
    }
    return out;
}

}  // namespace slp::print
