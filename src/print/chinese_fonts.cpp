#include "print/chinese_fonts.h"

#include <QFont>
#include <QFontDatabase>

using namespace Qt::StringLiterals;

namespace slp::print {

// Noto CJK stays out of these lists: PDFs written with it lose their text (no copy, search or
// pdftotext), so it may only ever be the font system's last resort.
QStringList chineseFontSubstitutes(const QString& face) {
    if (face == u"宋体"_s) return {u"AR PL UMing CN"_s, u"AR PL SungtiL GB"_s, u"WenQuanYi Zen Hei"_s};
    if (face == u"黑体"_s) return {u"WenQuanYi Zen Hei"_s, u"WenQuanYi Micro Hei"_s, u"AR PL UMing CN"_s};
    if (face == u"隶书"_s) return {u"AR PL UKai CN"_s, u"AR PL KaitiM GB"_s, u"AR PL UMing CN"_s};
    return {};
}

void registerChineseFontSubstitutes() {
    // insertSubstitutions keeps a name that is already in the list, so a second call adds nothing.
    for (const QString& face : {u"宋体"_s, u"黑体"_s, u"隶书"_s}) {
        QFont::insertSubstitutions(face, chineseFontSubstitutes(face));
    }
}

bool fontFaceAvailable(const QString& face) {
    if (face.trimmed().isEmpty()) return false;
    if (QFontDatabase::hasFamily(face)) return true;
    const QStringList substitutes = QFont::substitutes(face);
    for (const QString& s : substitutes) {
        if (QFontDatabase::hasFamily(s)) return true;
    }
    return false;
}

}  // namespace slp::print
