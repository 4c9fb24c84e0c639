#include "app/card_export/card_join.h"

#include <QStringDecoder>
#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "app/card_export/card_grid.h"
#include "app/card_export/card_query.h"
#include "basic/error.h"
#include "basic/host_text.h"
#include "data/database.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::card {

namespace {

// A collation key of up to 24 ranks packed into three words, big end first. Ranks are never 0, so the
// zeros after a shorter key put it before every longer key it begins: the words compare as the keys do.
using PackedKey = std::array<std::uint64_t, 3>;
constexpr size_t kMaxKeyLength = 24;

// The packed key of a text value; nullopt for a number, a blob, a text without a rank key (see
// jet::rankedTextKey) or a longer one.
std::optional<PackedKey> packedKey(const data::ResultSet::StoredCell& cell) {
    if (cell.type != data::Value::Type::Text) return std::nullopt;
    const size_t n = size_t(cell.textBytes.size());
    std::array<unsigned char, kMaxKeyLength> ranks{};
    if (n > kMaxKeyLength || !jet::rankedTextKey(std::string_view(cell.textBytes.data(), n), ranks.data())) {
        return std::nullopt;
    }
    PackedKey packed;
    for (size_t w = 0; w < packed.size(); ++w) {
        std::uint64_t word = 0;
        for (size_t i = 0; i < 8; ++i) word = word << 8 | ranks[w * 8 + i];
        packed[w] = word;
    }
    return packed;
}

// Val(value & suffix) > 0, the card query's condition on an amount or a card number, for a text or a
// null value; nullopt for a number or a blob, whose joined text the join does not read itself.
std::optional<bool> positiveJoinedValue(const data::ResultSet::StoredCell& cell, std::string_view suffix) {
    if (cell.type != data::Value::Type::Text && cell.type != data::Value::Type::Null) return std::nullopt;
    // A null's bytes are empty: null & text is the text.
    return jet::joinedTextPositive(std::string_view(cell.textBytes.data(), size_t(cell.textBytes.size())),
                                   suffix);
}

struct KeyedRow {
    PackedKey key;
    int row;
    bool operator<(const KeyedRow& other) const { return key < other.key; }
};

// The rows of `set` whose column `condition` meets the card query's condition (see
// positiveJoinedValue), by their 工号 (column 0) in the collation's order; nullopt when a 工号 has no
// packed key or comes twice, or a condition cannot be read here. A null 工号 joins nothing and is left
// out.
std::optional<std::vector<KeyedRow>> rowsByNumber(const data::ResultSet& set, int condition,
                                                  std::string_view suffix) {
    std::vector<KeyedRow> rows;
    rows.reserve(size_t(set.recordCount()));
    for (int i = 0; i < set.recordCount(); ++i) {
        const std::optional<bool> positive = positiveJoinedValue(set.storedCell(i, condition), suffix);
        if (!positive) return std::nullopt;
        const data::ResultSet::StoredCell number = set.storedCell(i, 0);
        if (!*positive || number.type == data::Value::Type::Null) continue;
        const std::optional<PackedKey> key = packedKey(number);
        if (!key) return std::nullopt;
        rows.push_back({*key, i});
    }
    // The host's tables are mostly kept in the order of 工号 already.
    if (!std::is_sorted(rows.begin(), rows.end())) std::sort(rows.begin(), rows.end());
    const auto same = [](const KeyedRow& a, const KeyedRow& b) { return a.key == b.key; };
    if (std::adjacent_find(rows.begin(), rows.end(), same) != rows.end()) return std::nullopt;
    return rows;
}

// A value's text as ResultSet::text gives it, made in `scratch` without a QString of its own for a
// text value (the UTF-8 decoded as QString::fromUtf8 decodes it).
QStringView textOf(data::ResultSet& set, int row, int column, QString& scratch) {
    const data::ResultSet::StoredCell cell = set.storedCell(row, column);
    if (cell.type != data::Value::Type::Text) {
        set.setAbsolutePosition(row);
        return scratch = set.text(column);
    }
    const QByteArrayView bytes = cell.textBytes;
    scratch.resize(bytes.size());  // UTF-8 never takes fewer bytes than UTF-16 takes units
    QChar* out = scratch.data();
    qsizetype i = 0;
    for (; i < bytes.size() && (unsigned char)bytes[i] < 0x80; ++i) out[i] = QLatin1Char(bytes[i]);
    if (i < bytes.size()) {
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
        out = utf8.appendToBuffer(out + i, bytes.sliced(i));
        return QStringView(scratch.constData(), out - scratch.constData());
    }
    return QStringView(scratch.constData(), i);
}

bool hasColumn(data::Database& db, const QString& table, const QString& column) {
    data::ResultSet none = db.open(u"SELECT * FROM "_s + table + u" WHERE 1=0"_s);
    return none.fieldIndex(column) >= 0;
}

}  // namespace

std::optional<JoinedCardRows> joinCardRows(data::Database& db, const CardQuery& query) {
    if (!db.sqliteHandle()) return std::nullopt;
    const bool byNumber = query.sortColumn == kSortByNumber;
    if (!byNumber && query.sortColumn != kSortByCard) return std::nullopt;
    try {
        // The card query names the amount and 信用卡号 without their table: a name both tables hold
        // makes it fail, which only the query itself should say.
        if (hasColumn(db, u"12个人信息"_s, query.amountItem) ||
            hasColumn(db, u"16工资输出数据"_s, u"信用卡号"_s)) {
            return std::nullopt;
        }
        const QString amount = amountColumn(query.amountItem);
        JoinedCardRows joined;
        // The conditions on the amount and the card number are read here, by the very reading of the
        // database's Val and &, rather than by the database calling them for every row.
        joined.payments = db.open(u"SELECT [16工资输出数据].工号, "_s + amount +
                                  u" FROM 16工资输出数据 WHERE [16工资输出数据].工作年月="_s +
                                  sqlTextLiteral(query.monthKey));
        joined.holders =
            db.open(u"SELECT [12个人信息].工号, [12个人信息].姓名, [12个人信息].信用卡号 FROM 12个人信息"_s);
        const auto payments = rowsByNumber(joined.payments, 1, "");
        const auto holders = rowsByNumber(joined.holders, 2, " ");
        if (!payments || !holders) return std::nullopt;

        // Both sides in the order of 工号, each 工号 once: the join is a merge, its records in the order
        // of 工号 already.
        std::vector<KeyedRow> byCard;
        auto h = holders->begin();
        for (const KeyedRow& p : *payments) {
            while (h != holders->end() && h->key < p.key) ++h;
            if (h == holders->end()) break;
            if (h->key != p.key) continue;
            if (byNumber) {
                joined.rows.emplace_back(p.row, h->row);
                continue;
            }
            const std::optional<PackedKey> card = packedKey(joined.holders.storedCell(h->row, 2));
            if (!card) return std::nullopt;
            byCard.push_back({*card, int(joined.rows.size())});
            joined.rows.emplace_back(p.row, h->row);
        }
        if (!byNumber) {
            std::sort(byCard.begin(), byCard.end());
            // SQLite orders equal keys its own way: those are left to the query.
            const auto same = [](const KeyedRow& a, const KeyedRow& b) { return a.key == b.key; };
            if (std::adjacent_find(byCard.begin(), byCard.end(), same) != byCard.end()) return std::nullopt;
            std::vector<std::pair<int, int>> ordered;
            ordered.reserve(byCard.size());
            for (const KeyedRow& r : byCard) ordered.push_back(joined.rows[size_t(r.row)]);
            joined.rows = std::move(ordered);
        }
        return joined;
    } catch (const Error&) {
        return std::nullopt;
    }
}

CardGridSummary fillCardGrid(JoinedCardRows& joined, data::WageGrid& grid) {
    std::array<QString, 3> scratch;
    return fillCardGridFrom(
        int(joined.rows.size()),
        [&joined, &scratch](int k) {
            const auto [payment, holder] = joined.rows[size_t(k)];
            return CardRecordTexts{textOf(joined.holders, holder, 1, scratch[0]),
                                   textOf(joined.holders, holder, 2, scratch[1]),
                                   textOf(joined.payments, payment, 1, scratch[2])};
        },
        grid);
}

}  // namespace slp::card
