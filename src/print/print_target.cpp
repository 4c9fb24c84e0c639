#include "print/print_target.h"

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::print {

BasicPrintTarget::BasicPrintTarget() : fontName_(u"宋体"_s) {}

void BasicPrintTarget::SetFontSize(float points) {
    // A size of zero or below (a very small scale) would make the font unusable: keep a visible minimum.
    fontSize_ = points > 0.5f ? points : 0.5f;
}

void BasicPrintTarget::SetFontName(const QString& face) {
    if (!faceAvailable(face)) {
        throw Error(fontRefusedError, u"无法使用字体“%1”"_s.arg(face));
    }
    fontName_ = face;
}

void BasicPrintTarget::Print(const QString& text) {
    drawText(x_, y_, text);
    y_ += TextHeight(text);
    x_ = 0;
}

}  // namespace slp::print
