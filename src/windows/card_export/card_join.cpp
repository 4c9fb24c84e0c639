#include "windows/card_export/card_join.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>

#include "basic/error.h"
#include "basic/host_text.h"
#include "data/database.h"
#include "data/jet/translate.h"
#include "windows/card_export/card_query.h"

using namespace Qt::StringLiterals;

namespace slp::card {

namespace {

// A collation key of up to 24 ranks packed into three words, big end first. Ranks are never 0, so the
// zeros after a shorter key put it before every longer key it begins: the words compare as the keys do.
using PackedKey = std::array<std::uint64_t, 3>;
constexpr size_t kMaxKeyLength = 24;

// The packed key of a text value; nullopt for a number, a blob, a text without a rank key (see
// jet::rankedTextKey) or a longer one.
std::optional<PackedKey> packedKey(const data::ResultSet& set, int column) {
    if (set.typeOf(column) != data::Value::Type::Text) return std::nullopt;
    const QByteArrayView bytes = set.textBytes(column);
    if (size_t(bytes.size()) > kMaxKeyLength) return std::nullopt;
    const std::optional<std::string> key =
        jet::rankedTextKey(std::string_view(bytes.data(), size_t(bytes.size())));
    if (!key) return std::nullopt;
    PackedKey packed{};
    for (size_t i = 0; i < key->size(); ++i) {
        packed[i / 8] |= std::uint64_t((unsigned char)(*key)[i]) << (8 * (7 - i % 8));
    }
    return packed;
}

struct KeyedRow {
    PackedKey key;
    int row;
    bool operator<(const KeyedRow& other) const { return key < other.key; }
};

// The rows of `set` by their 工号 (column 0) in the collation's order; nullopt when a 工号 has no packed
// key or comes twice. A null 工号 joins nothing and is left out.
std::optional<std::vector<KeyedRow>> rowsByNumber(data::ResultSet& set) {
    std::vector<KeyedRow> rows;
    rows.reserve(size_t(set.recordCount()));
    for (int i = 0; i < set.recordCount(); ++i) {
        set.setAbsolutePosition(i);
        if (set.isNull(0)) continue;
        const std::optional<PackedKey> key = packedKey(set, 0);
        if (!key) return std::nullopt;
        rows.push_back({*key, i});
    }
    std::sort(rows.begin(), rows.end());
    const auto same = [](const KeyedRow& a, const KeyedRow& b) { return a.key == b.key; };
    if (std::adjacent_find(rows.begin(), rows.end(), same) != rows.end()) return std::nullopt;
    return rows;
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
        joined.payments =
            db.open(u"SELECT [16工资输出数据].工号, "_s + amount + u" FROM 16工资输出数据 WHERE Val("_s +
                    amount + u" & '')>0 AND [16工资输出数据].工作年月="_s + sqlTextLiteral(query.monthKey));
        joined.holders = db.open(
            u"SELECT [12个人信息].工号, [12个人信息].姓名, [12个人信息].信用卡号 FROM 12个人信息"
            u" WHERE Val([12个人信息]![信用卡号] & ' ')>'0'"_s);
        const auto payments = rowsByNumber(joined.payments);
        const auto holders = rowsByNumber(joined.holders);
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
            joined.holders.setAbsolutePosition(h->row);
            const std::optional<PackedKey> card = packedKey(joined.holders, 2);
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

}  // namespace slp::card
