#include "settings/keys.h"

#include <cfloat>
#include <cmath>

#include "basic/conversions.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::settings {

namespace {

constexpr KeyDef kTable[] = {
    key::ColumnsPerLine,   key::ContinuationIndent, key::PrintSignOff,     key::PrintPayDate,
    key::HorizontalRules,  key::VerticalRules,      key::MiddleRules,      key::InnermostMiddleRule,
    key::LineWidth,        key::OuterLineWidth,     key::MiddleLineWidth,  key::PaperWidthGZGL,
    key::PaperHeightGZGL,  key::PaperWidth,         key::PaperHeight,      key::ShowZeros,
    key::PaymentRowHeight, key::OneRecordPerSheet,  key::CardUnitCode,     key::CardName,
    key::CardFileFolder,   key::GreatWallCardFile,  key::DragonCardFile,   key::PostalCardFile,
    key::PujiangCardFile,  key::PeonyCardFile,      key::MagnoliaCardFile, key::OriginX,
    key::OriginY,          key::RowHeight,          key::LinesPerPage,     key::SplitterLeft,
    key::ListVisible,      key::MainLeft,           key::MainTop,          key::MainWidth,
    key::MainHeight,
};

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

qsizetype skipDigits(QStringView t, qsizetype i) {
    while (i < t.size() && t[i] >= u'0' && t[i] <= u'9') ++i;
    return i;
}

QString describe(const Setting& s) {
    return u"[%1] %2（%3）"_s.arg(s.section, s.key, s.app);
}

}  // namespace

std::span<const KeyDef> keyTable() {
    return kTable;
}

Setting Setting::withDefault(QString text) const {
    Setting copy = *this;
    copy.defaultText = std::move(text);
    return copy;
}

QString appName(AppKind app, const QString& unitCode) {
    switch (app) {
        case AppKind::UnitGZGL:
            return appUnitGZGL(unitCode);
        case AppKind::UnitGZ:
            return appUnitGZ(unitCode);
        case AppKind::Component:
            break;
    }
    return appComponent();
}

QString sectionName(const KeyDef& def, const QString& variable) {
    if (def.part == SectionPart::Fixed) return def.before.toString();
    return def.before.toString() + variable + def.after.toString();
}

Setting resolve(const KeyDef& def, const QString& unitCode, const QString& variable) {
    return Setting{appName(def.app, unitCode), sectionName(def, variable), def.key.toString(),
                   def.defaultText.toString(), def.kind};
}

std::optional<double> parseStoredNumber(QStringView text) {
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && isBlank(text[b])) ++b;
    while (e > b && isBlank(text[e - 1])) --e;
    const QStringView t = text.sliced(b, e - b);

    qsizetype i = 0;
    if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
    const qsizetype intStart = i;
    i = skipDigits(t, i);
    qsizetype digits = i - intStart;
    if (i < t.size() && t[i] == u'.') {
        const qsizetype fracStart = ++i;
        i = skipDigits(t, i);
        digits += i - fracStart;
    }
    if (digits == 0) return std::nullopt;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        if (i < t.size() && (t[i] == u'+' || t[i] == u'-')) ++i;
        const qsizetype expStart = i;
        i = skipDigits(t, i);
        if (i == expStart) return std::nullopt;
    }
    if (i != t.size()) return std::nullopt;

    bool ok = false;
    const double value = t.toString().toDouble(&ok);
    if (ok || std::isinf(value)) return value;  // beyond double range: infinity, reported as overflow
    return t.startsWith(u'-') ? -0.0 : 0.0;     // below the smallest double: zero
}

int16_t storedInt16(const QString& text, const QString& what) {
    const std::optional<double> value = parseStoredNumber(text);
    if (!value) throw ConversionError(u"类型不匹配：设置 %1 的值“%2”不是数字"_s.arg(what, text));
    try {
        return toInt16(*value);
    } catch (const OverflowError&) {
        throw OverflowError(u"溢出：设置 %1 的值“%2”超出整数范围"_s.arg(what, text));
    }
}

float storedSingle(const QString& text, const QString& what) {
    const std::optional<double> value = parseStoredNumber(text);
    if (!value) throw ConversionError(u"类型不匹配：设置 %1 的值“%2”不是数字"_s.arg(what, text));
    if (!std::isfinite(*value) || std::fabs(*value) > double(FLT_MAX)) {
        throw OverflowError(u"溢出：设置 %1 的值“%2”超出单精度范围"_s.arg(what, text));
    }
    return static_cast<float>(*value);
}

bool storedBool(const QString& text, const QString& what) {
    const std::optional<bool> value = toBool(text);
    if (!value) {
        throw ConversionError(u"类型不匹配：设置 %1 的值“%2”不是 True、False 或数字"_s.arg(what, text));
    }
    return *value;
}

QString readText(const Store& store, const Setting& s) {
    return store.read(s.app, s.section, s.key, s.defaultText);
}

int16_t readInt16(const Store& store, const Setting& s) {
    return storedInt16(readText(store, s), describe(s));
}
float readSingle(const Store& store, const Setting& s) {
    return storedSingle(readText(store, s), describe(s));
}
bool readTrueFalse(const Store& store, const Setting& s) {
    return storedBool(readText(store, s), describe(s));
}
bool readYesNo(const Store& store, const Setting& s) {
    return isYes(readText(store, s));
}
bool readFlag(const Store& store, const Setting& s) {
    return storedBool(readText(store, s), describe(s));
}

void writeText(Store& store, const Setting& s, const QString& value) {
    store.write(s.app, s.section, s.key, value);
}
void writeInt16(Store& store, const Setting& s, int16_t value) {
    writeText(store, s, QString::number(value));
}
void writeSingle(Store& store, const Setting& s, float value) {
    writeText(store, s, plainNumber(value));
}
void writeTrueFalse(Store& store, const Setting& s, bool value) {
    writeText(store, s, boolText(value));
}
void writeYesNo(Store& store, const Setting& s, bool value) {
    writeText(store, s, yesNoText(value));
}
void writeFlag(Store& store, const Setting& s, bool value) {
    writeText(store, s, flagText(value));
}

}  // namespace slp::settings
