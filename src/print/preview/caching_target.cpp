#include "print/preview/caching_target.h"

namespace slp::print {

void CachingTarget::SetFontSize(float points) {
    if (points != inner_.FontSize()) inner_.SetFontSize(points);
}

void CachingTarget::SetFontName(const QString& face) {
    if (face != inner_.FontName()) inner_.SetFontName(face);
}

void CachingTarget::SetFontBold(bool bold) {
    if (bold != inner_.FontBold()) inner_.SetFontBold(bold);
}

void CachingTarget::SetDrawWidth(int pixels) {
    if (pixels != inner_.DrawWidth()) inner_.SetDrawWidth(pixels);
}

float CachingTarget::measure(bool height, const QString& text) {
    Key key{inner_.FontName(), inner_.FontSize(), inner_.FontBold(), height, text};
    const auto found = sizes_.constFind(key);
    if (found != sizes_.constEnd()) return found.value();
    const float size = height ? inner_.TextHeight(text) : inner_.TextWidth(text);
    if (sizes_.size() >= kMaxRemembered) sizes_.clear();
    sizes_.insert(std::move(key), size);
    return size;
}

float CachingTarget::TextWidth(const QString& text) {
    return measure(false, text);
}

float CachingTarget::TextHeight(const QString& text) {
    return measure(true, text);
}

}  // namespace slp::print
