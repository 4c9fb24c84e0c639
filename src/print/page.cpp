#include "print/page.h"

namespace slp::print {

QStringList Page::textList() const {
    QStringList list;
    list.reserve(qsizetype(texts.size()));
    for (const PageText& t : texts) list << t.text;
    return list;
}

const PageText* Page::find(const QString& text) const {
    for (const PageText& t : texts) {
        if (t.text == text) return &t;
    }
    return nullptr;
}

}  // namespace slp::print
