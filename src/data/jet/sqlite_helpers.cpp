// The functions and the collation that translated statements use on a SQLite connection.
#include <sqlite3.h>
#include <unicode/ucol.h>

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>
#include <optional>

#include "basic/conversions.h"
#include "basic/error.h"
#include "data/jet/emitter.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

namespace {

// The host engine's messages for the faults its functions report.
const char invalidUseOfNull[] = "无效使用 Null";
const char typeMismatch[] = "类型不匹配";
const char invalidArgument[] = "无效的过程调用或参数";
const char divisionByZero[] = "除数为零";
const char overflow[] = "溢出";

QString textOf(sqlite3_value* v) {
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return QString::fromUtf8(bytes, sqlite3_value_bytes(v));
}

// A text of plain decimal form read from its UTF-8 bytes without a QString: blanks, tabs or line feeds
// around, a sign, digits with at most one decimal point. Such a text is a number in every reading and
// its value is the correctly rounded one, as leadingValue gives it (zero without a sign). nullopt for
// any other text, which takes the general way.
std::optional<double> plainDecimal(const unsigned char* bytes, int length) {
    // Longer texts are left to the general reading, which keeps every digit.
    constexpr int kMaxPlain = 64;
    const auto isBlank = [](unsigned char c) { return c == ' ' || c == '\t' || c == '\n'; };
    int b = 0;
    int e = length;
    while (b < e && isBlank(bytes[b])) ++b;
    while (e > b && isBlank(bytes[e - 1])) --e;
    bool negative = false;
    if (b < e && (bytes[b] == '+' || bytes[b] == '-')) negative = bytes[b++] == '-';
    if (e - b > kMaxPlain) return std::nullopt;
    bool digit = false;
    bool point = false;
    int digits = 0;          // all digits, leading zeros too
    int fractionDigits = 0;  // digits after the point
    uint64_t mantissa = 0;   // the digits as one whole number, while they fit
    for (int i = b; i < e; ++i) {
        const unsigned char c = bytes[i];
        if (c >= '0' && c <= '9') {
            digit = true;
            if (++digits <= 19) mantissa = mantissa * 10 + (c - '0');
            if (point) ++fractionDigits;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    if (!digit) return std::nullopt;
    // Exact cases first: up to 19 digits without a fraction are one rounding from the whole number,
    // and a whole number below 2^53 divided by an exact power of ten is correctly rounded by IEEE
    // division itself.
    static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    double v = 0;
    if (digits <= 19 && fractionDigits == 0) {
        v = static_cast<double>(mantissa);
    } else if (digits <= 19 && mantissa <= (uint64_t(1) << 53) && fractionDigits <= 22) {
        v = static_cast<double>(mantissa) / kPowersOfTen[fractionDigits];
    } else {
        const char* first = reinterpret_cast<const char*>(bytes + b);
        const auto [end, ec] = std::from_chars(first, first + (e - b), v);
        if (ec != std::errc() || end != first + (e - b)) return std::nullopt;
    }
    if (v == 0) return 0.0;
    return negative ? -v : v;
}

bool isAscii(const unsigned char* bytes, int length) {
    for (int i = 0; i < length; ++i) {
        if (bytes[i] >= 0x80) return false;
    }
    return true;
}

// The text a value turns into when it is joined to a text: numbers in their plain decimal form.
QString displayText(sqlite3_value* v) {
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            return QString::number(sqlite3_value_int64(v));
        case SQLITE_FLOAT:
            return plainNumber(sqlite3_value_double(v));
        case SQLITE_NULL:
            return {};
        default:
            return textOf(v);
    }
}

void resultText(sqlite3_context* ctx, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_result_text(ctx, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

void resultError(sqlite3_context* ctx, const char* message) {
    sqlite3_result_error(ctx, message, -1);
}

// Number of characters, a surrogate pair counting once.
qsizetype characterCount(const QString& s) {
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (!(s[i].isLowSurrogate() && i > 0 && s[i - 1].isHighSurrogate())) ++n;
    }
    return n;
}

// A number held by a value: numbers as they are, texts only when they read wholly as a number.
struct Number {
    bool isInteger = false;
    sqlite3_int64 integer = 0;
    double real = 0;
    double asReal() const { return isInteger ? double(integer) : real; }
};

std::optional<Number> numberOf(sqlite3_value* v) {
    Number n;
    switch (sqlite3_value_type(v)) {
        case SQLITE_INTEGER:
            n.isInteger = true;
            n.integer = sqlite3_value_int64(v);
            return n;
        case SQLITE_FLOAT:
            n.real = sqlite3_value_double(v);
            return n;
        default: {
            const auto* bytes = sqlite3_value_text(v);
            if (const auto plain = plainDecimal(bytes, sqlite3_value_bytes(v))) {
                n.real = *plain;
                return n;
            }
            const QString text = textOf(v);
            if (!isNumericText(text)) return std::nullopt;
            n.real = leadingValue(text);
            return n;
        }
    }
}

void resultNumber(sqlite3_context* ctx, const Number& n) {
    if (n.isInteger) {
        sqlite3_result_int64(ctx, n.integer);
    } else {
        sqlite3_result_double(ctx, n.real);
    }
}

// val(x): the leading numeric value of x's text; 0 for a text without one.
void valFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    switch (sqlite3_value_type(argv[0])) {
        case SQLITE_NULL:
            resultError(ctx, invalidUseOfNull);
            return;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            sqlite3_result_double(ctx, sqlite3_value_double(argv[0]));
            return;
        default: {
            const auto* bytes = sqlite3_value_text(argv[0]);
            const auto plain = plainDecimal(bytes, sqlite3_value_bytes(argv[0]));
            sqlite3_result_double(ctx, plain ? *plain : leadingValue(textOf(argv[0])));
        }
    }
}

// len(x): characters in x's text; null stays null.
void lenFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    sqlite3_result_int64(ctx, characterCount(displayText(argv[0])));
}

// left(x, n): the first n characters of x's text; null stays null. n is rounded to a whole number,
// halves to even; a negative n is refused.
void leftFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        resultError(ctx, invalidUseOfNull);
        return;
    }
    const std::optional<Number> count = numberOf(argv[1]);
    if (!count) {
        resultError(ctx, typeMismatch);
        return;
    }
    const double rounded = count->isInteger ? double(count->integer) : roundHalfEven(count->real);
    if (!(rounded >= 0)) {
        resultError(ctx, invalidArgument);
        return;
    }
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const QString text = displayText(argv[0]);
    qsizetype end = 0;
    double taken = 0;
    while (end < text.size() && taken < rounded) {
        end +=
            (text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate()) ? 2 : 1;
        taken += 1;
    }
    resultText(ctx, text.left(end));
}

// catFunction for ASCII texts, whole numbers and nulls, joined as bytes: false (nothing done) when an
// argument is anything else or the joined text is long.
bool catAscii(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    char buffer[257];  // 256 bytes and a terminator
    char* const joined = buffer;
    constexpr int kRoom = 256;
    int length = 0;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        switch (sqlite3_value_type(argv[i])) {
            case SQLITE_NULL:
                break;
            case SQLITE_INTEGER: {
                // 20 characters hold every 64-bit number.
                if (length + 20 > kRoom) return false;
                length =
                    int(std::to_chars(joined + length, joined + kRoom, sqlite3_value_int64(argv[i])).ptr -
                        joined);
                allNull = false;
                break;
            }
            case SQLITE_TEXT: {
                const auto* bytes = sqlite3_value_text(argv[i]);
                const int n = sqlite3_value_bytes(argv[i]);
                if (n > kRoom - length || !isAscii(bytes, n)) return false;
                if (n > 0) std::memcpy(joined + length, bytes, size_t(n));
                length += n;
                allNull = false;
                break;
            }
            default:
                return false;
        }
    }
    if (allNull) {
        sqlite3_result_null(ctx);
    } else if (std::memchr(joined, 0, size_t(length)) == nullptr) {
        // Handed over with its terminator (a length of -1), SQLite keeps the terminator with its copy,
        // and slp_val reading the text does not have to copy it once more to add one.
        joined[length] = 0;
        sqlite3_result_text(ctx, joined, -1, SQLITE_TRANSIENT);
    } else {
        sqlite3_result_text(ctx, joined, length, SQLITE_TRANSIENT);
    }
    return true;
}

// a & b & …: joins the texts, a null counting as an empty text; only nulls give null.
void catFunction(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    if (catAscii(ctx, argc, argv)) return;
    QString text;
    bool allNull = true;
    for (int i = 0; i < argc; ++i) {
        if (sqlite3_value_type(argv[i]) != SQLITE_NULL) allNull = false;
        text += displayText(argv[i]);
    }
    if (allNull) {
        sqlite3_result_null(ctx);
    } else {
        resultText(ctx, text);
    }
}

// The numeric value of x for a comparison with a number or a sum: texts must read as numbers.
void numFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    const std::optional<Number> n = numberOf(argv[0]);
    if (!n) {
        resultError(ctx, typeMismatch);
        return;
    }
    resultNumber(ctx, *n);
}

enum class Arithmetic { Add, Subtract, Multiply, Divide };

// Arithmetic like the host engine: null gives null, + joins two texts, texts that read as numbers
// take part as numbers and other texts are refused; whole numbers stay whole while they fit.
template <Arithmetic op>
void arithmeticFunction(sqlite3_context* ctx, int, sqlite3_value** argv) {
    const int ta = sqlite3_value_type(argv[0]);
    const int tb = sqlite3_value_type(argv[1]);
    if (ta == SQLITE_NULL || tb == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (op == Arithmetic::Add && ta == SQLITE_TEXT && tb == SQLITE_TEXT) {
        resultText(ctx, textOf(argv[0]) + textOf(argv[1]));
        return;
    }
    const std::optional<Number> a = numberOf(argv[0]);
    const std::optional<Number> b = numberOf(argv[1]);
    if (!a || !b) {
        resultError(ctx, typeMismatch);
        return;
    }
    if (op == Arithmetic::Divide) {
        if (b->asReal() == 0) {
            resultError(ctx, divisionByZero);
            return;
        }
        sqlite3_result_double(ctx, a->asReal() / b->asReal());
        return;
    }
    if (a->isInteger && b->isInteger) {
        sqlite3_int64 r = 0;
        bool overflow = false;
        if (op == Arithmetic::Add) overflow = __builtin_add_overflow(a->integer, b->integer, &r);
        if (op == Arithmetic::Subtract) overflow = __builtin_sub_overflow(a->integer, b->integer, &r);
        if (op == Arithmetic::Multiply) overflow = __builtin_mul_overflow(a->integer, b->integer, &r);
        if (!overflow) {
            sqlite3_result_int64(ctx, r);
            return;
        }
    }
    double r = 0;
    if (op == Arithmetic::Add) r = a->asReal() + b->asReal();
    if (op == Arithmetic::Subtract) r = a->asReal() - b->asReal();
    if (op == Arithmetic::Multiply) r = a->asReal() * b->asReal();
    sqlite3_result_double(ctx, r);
}

// The collation's state: the ICU collator that gives the host's order of texts, and for printable
// ASCII characters their rank in that order. Ranks come from the collator itself when it is registered:
// characters it holds equal (a and A at this strength) share a rank, 0 marks a character left to ICU.
// Every printable ASCII character has one collation element of its own and the same secondary weight,
// so for two texts made only of ranked characters ICU's answer is the comparison of their ranks
// character by character, a shorter text before a longer one that begins with it. The tests hold this
// against ICU on every text of one and two characters and on random texts.
struct TextCollation {
    UCollator* collator = nullptr;
    std::array<unsigned char, 256> rank{};  // by UTF-8 byte: 0 for every byte of a non-ASCII character
};

int compareByIcu(UCollator* collator, int lengthA, const char* a, int lengthB, const char* b) {
    UErrorCode status = U_ZERO_ERROR;
    const UCollationResult r = ucol_strcollUTF8(collator, a, lengthA, b, lengthB, &status);
    if (U_FAILURE(status)) {
        // Not valid UTF-8: fall back to the order of the bytes so the order stays total.
        const int common = std::min(lengthA, lengthB);
        const int c = common > 0 ? std::memcmp(a, b, size_t(common)) : 0;
        if (c != 0) return c;
        return lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
    }
    return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
}

// The ranks' comparison, or nullopt when a text holds a character without a rank.
bool allRanked(const std::array<unsigned char, 256>& rank, const unsigned char* text, int length) {
    for (int i = 0; i < length; ++i) {
        if (rank[text[i]] == 0) return false;
    }
    return true;
}

// The ranks' comparison, or nullopt when a text holds a character without a rank. One pass over the
// common beginning; the rest of both texts is only looked at for characters without a rank.
std::optional<int> compareByRank(const std::array<unsigned char, 256>& rank, int lengthA,
                                 const unsigned char* a, int lengthB, const unsigned char* b) {
    const int common = std::min(lengthA, lengthB);
    int order = lengthA < lengthB ? -1 : (lengthA > lengthB ? 1 : 0);
    int i = 0;
    for (; i < common; ++i) {
        const unsigned char ra = rank[a[i]];
        const unsigned char rb = rank[b[i]];
        if (ra == 0 || rb == 0) return std::nullopt;
        if (ra != rb) {
            order = ra < rb ? -1 : 1;
            ++i;
            break;
        }
    }
    if (!allRanked(rank, a + i, lengthA - i) || !allRanked(rank, b + i, lengthB - i)) return std::nullopt;
    return order;
}

int compareTexts(void* state, int lengthA, const void* a, int lengthB, const void* b) {
    const auto* collation = static_cast<const TextCollation*>(state);
    if (const auto r = compareByRank(collation->rank, lengthA, static_cast<const unsigned char*>(a), lengthB,
                                     static_cast<const unsigned char*>(b))) {
        return *r;
    }
    return compareByIcu(collation->collator, lengthA, static_cast<const char*>(a), lengthB,
                        static_cast<const char*>(b));
}

void closeCollation(void* state) {
    auto* collation = static_cast<TextCollation*>(state);
    ucol_close(collation->collator);
    delete collation;
}

UCollationResult compareCharacters(UCollator* collator, char16_t a, char16_t b) {
    return ucol_strcoll(collator, reinterpret_cast<const UChar*>(&a), 1, reinterpret_cast<const UChar*>(&b),
                        1);
}

// Ranks printable ASCII in the collator's order. A character that is ignorable at the primary level, or
// that has the primary weight of a character it does not equal, gets no rank: texts holding it go to ICU.
std::array<unsigned char, 256> asciiRanks(UCollator* collator) {
    std::array<char16_t, 95> order{};
    for (char16_t c = 0x20; c < 0x7F; ++c) order[c - 0x20] = c;
    std::stable_sort(order.begin(), order.end(),
                     [&](char16_t a, char16_t b) { return compareCharacters(collator, a, b) == UCOL_LESS; });
    std::array<bool, 128> primaryTie{};
    const UCollationStrength strength = ucol_getStrength(collator);
    ucol_setStrength(collator, UCOL_PRIMARY);
    for (size_t i = 0; i < order.size(); ++i) {
        const UChar c = order[i];
        if (ucol_strcoll(collator, &c, 1, nullptr, 0) != UCOL_GREATER) primaryTie[c] = true;
    }
    ucol_setStrength(collator, strength);
    for (size_t i = 1; i < order.size(); ++i) {
        const char16_t a = order[i - 1];
        const char16_t b = order[i];
        if (compareCharacters(collator, a, b) == UCOL_EQUAL) continue;
        ucol_setStrength(collator, UCOL_PRIMARY);
        const bool tie = compareCharacters(collator, a, b) == UCOL_EQUAL;
        ucol_setStrength(collator, strength);
        if (tie) primaryTie[a] = primaryTie[b] = true;
    }
    std::array<unsigned char, 256> rank{};
    unsigned char next = 0;
    for (size_t i = 0; i < order.size(); ++i) {
        if (i == 0 || compareCharacters(collator, order[i - 1], order[i]) != UCOL_EQUAL) ++next;
        if (!primaryTie[order[i]]) rank[order[i]] = next;
    }
    return rank;
}

// Texts compare like the host engine's: Latin letters without regard to case (and full-width letters
// and digits like their half-width forms), Chinese characters in pinyin order, digits and codes
// character by character. nullptr when ICU cannot give it.
UCollator* openTextCollator() {
    UErrorCode status = U_ZERO_ERROR;
    UCollator* collator = ucol_open("zh", &status);
    if (U_FAILURE(status) || !collator) return nullptr;
    ucol_setStrength(collator, UCOL_SECONDARY);
    // The Chinese tailoring moves Chinese characters before all other scripts; the host engine keeps
    // Latin letters first.
    const int32_t noReordering[] = {UCOL_REORDER_CODE_NONE};
    ucol_setReorderCodes(collator, noReordering, 1, &status);
    if (U_FAILURE(status)) {
        ucol_close(collator);
        return nullptr;
    }
    return collator;
}

using SqlFunction = void (*)(sqlite3_context*, int, sqlite3_value**);

// SQLite is C: an exception must never unwind through it. Every function is called through this
// guard, which turns whatever a function throws into the statement's error.
template <SqlFunction function>
void guarded(sqlite3_context* ctx, int argc, sqlite3_value** argv) noexcept {
    try {
        function(ctx, argc, argv);
    } catch (const OverflowError&) {
        resultError(ctx, overflow);
    } catch (const Error& e) {
        const QByteArray message = e.description().toUtf8();
        sqlite3_result_error(ctx, message.constData(), int(message.size()));
    } catch (const std::bad_alloc&) {
        sqlite3_result_error_nomem(ctx);
    } catch (const std::exception& e) {
        resultError(ctx, e.what());
    } catch (...) {
        resultError(ctx, invalidArgument);
    }
}

struct FunctionDef {
    const char* name;
    int arguments;
    SqlFunction function;
};

}  // namespace

bool rankedTextKey(std::string_view utf8, unsigned char* key) {
    // The ranks the collation registers, made once from a collator set up the same way.
    static const std::optional<std::array<unsigned char, 256>> ranks =
        []() -> std::optional<std::array<unsigned char, 256>> {
        UCollator* collator = openTextCollator();
        if (!collator) return std::nullopt;
        const std::array<unsigned char, 256> rank = asciiRanks(collator);
        ucol_close(collator);
        return rank;
    }();
    if (!ranks) return false;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char r = (*ranks)[(unsigned char)utf8[i]];
        if (r == 0) return false;
        key[i] = r;
    }
    return true;
}

namespace {

// Joins two texts into `buffer`, or into `longer` when they do not fit it.
template <size_t N>
std::string_view joinedText(std::string_view a, std::string_view b, char (&buffer)[N], std::string& longer) {
    const size_t n = a.size() + b.size();
    char* joined = buffer;
    if (n > N) {
        longer.resize(n);
        joined = longer.data();
    }
    if (!a.empty()) std::memcpy(joined, a.data(), a.size());
    if (!b.empty()) std::memcpy(joined + a.size(), b.data(), b.size());
    return {joined, n};
}

}  // namespace

double joinedTextValue(std::string_view utf8, std::string_view suffix) {
    // slp_cat joins two texts byte for byte (through UTF-16 when one is not ASCII, which changes no
    // byte Val could read as part of a number), and slp_val reads the joined text as below.
    char buffer[128];
    std::string longer;
    const std::string_view joined = joinedText(utf8, suffix, buffer, longer);
    const auto* bytes = reinterpret_cast<const unsigned char*>(joined.data());
    if (const auto plain = plainDecimal(bytes, int(joined.size()))) return *plain;
    return leadingValue(QString::fromUtf8(joined.data(), qsizetype(joined.size())));
}

bool joinedTextPositive(std::string_view utf8, std::string_view suffix) {
    // Blanks after a text do not change its plain decimal form (plainDecimal trims them): such a
    // suffix need not be joined to be read.
    const bool blankSuffix =
        std::all_of(suffix.begin(), suffix.end(), [](char c) { return c == ' ' || c == '\t' || c == '\n'; });
    char buffer[128];
    std::string longer;
    const std::string_view text = blankSuffix ? utf8 : joinedText(utf8, suffix, buffer, longer);
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    if (const auto plain = plainDecimal(bytes, int(text.size()))) return *plain > 0;
    return joinedTextValue(utf8, suffix) > 0;
}

int registerSqliteHelpers(sqlite3* db) {
    if (!db) return SQLITE_MISUSE;
    // Names are always double-quoted in translated statements: a name that matches no column is an
    // error, never taken for a text (SQLite's old leniency would show a wrong item's name as its value).
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DML, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DQS_DDL, 0, nullptr);
    static constexpr FunctionDef functions[] = {
        {"slp_val", 1, guarded<valFunction>},
        {"slp_len", 1, guarded<lenFunction>},
        {"slp_left", 2, guarded<leftFunction>},
        {"slp_cat", -1, guarded<catFunction>},
        {"slp_num", 1, guarded<numFunction>},
        {"slp_add", 2, guarded<arithmeticFunction<Arithmetic::Add>>},
        {"slp_sub", 2, guarded<arithmeticFunction<Arithmetic::Subtract>>},
        {"slp_mul", 2, guarded<arithmeticFunction<Arithmetic::Multiply>>},
        {"slp_div", 2, guarded<arithmeticFunction<Arithmetic::Divide>>},
    };
    for (const FunctionDef& f : functions) {
        const int rc = sqlite3_create_function_v2(db, f.name, f.arguments,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS,
                                                  nullptr, f.function, nullptr, nullptr, nullptr);
        if (rc != SQLITE_OK) return rc;
    }

    UCollator* collator = openTextCollator();
    if (!collator) return SQLITE_ERROR;
    auto* collation = new TextCollation{collator, asciiRanks(collator)};
    const int rc =
        sqlite3_create_collation_v2(db, textCollation, SQLITE_UTF8, collation, compareTexts, closeCollation);
    // A failed registration does not call the destructor.
    if (rc != SQLITE_OK) closeCollation(collation);
    return rc;
}

}  // namespace slp::jet
