#include "data/jet/emitter.h"

#include <algorithm>
#include <cmath>

#include "basic/conversions.h"
#include "data/jet/tokenizer.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

namespace {

// What the tree tells about the value of an expression. Columns are Unknown on SQLite (a wage column
// may hold numbers or texts) and typed by the catalogue on a server engine.
enum class ValueType { Numeric, Text, Unknown };

QString quoteName(const QString& name) {
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

QString quoteText(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\'';
}

// The type of an expression whose columns are all Unknown; Emitter::typeOf adds the catalogue's types.
template <class ColumnType>
ValueType typeOf(const Expr& e, const ColumnType& columnType) {
    switch (e.kind) {
        case ExprKind::Number:
        case ExprKind::Not:
        case ExprKind::Negate:
        case ExprKind::IsNull:
            return ValueType::Numeric;
        case ExprKind::Text:
            return ValueType::Text;
        case ExprKind::Binary:
            switch (e.op) {
                case BinaryOp::Concat:
                    return ValueType::Text;
                case BinaryOp::Add: {
                    // + joins two texts and adds everything else
                    const ValueType l = typeOf(*e.args[0], columnType);
                    const ValueType r = typeOf(*e.args[1], columnType);
                    if (l == ValueType::Numeric || r == ValueType::Numeric) return ValueType::Numeric;
                    if (l == ValueType::Text && r == ValueType::Text) return ValueType::Text;
                    return ValueType::Unknown;
                }
                default:
                    return ValueType::Numeric;
            }
        case ExprKind::Call:
            return e.text == u"left"_s ? ValueType::Text : ValueType::Numeric;
        case ExprKind::Column:
            return columnType(e);
        default:
            return ValueType::Unknown;
    }
}

bool containsAggregate(const Expr& e) {
    if (e.kind == ExprKind::Call && isAggregateName(e.text)) return true;
    return std::any_of(e.args.begin(), e.args.end(), [](const ExprPtr& a) { return containsAggregate(*a); });
}

// A whole number written as such, for left(x, n) with a constant n.
bool isWholeNumberLiteral(const Expr& e) {
    if (e.kind != ExprKind::Number || e.text.isEmpty() || e.text.size() > 9) return false;
    return std::all_of(e.text.begin(), e.text.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

bool isNumberConstant(const Expr& e) {
    return e.kind == ExprKind::Number || (e.kind == ExprKind::Negate && isNumberConstant(*e.args[0]));
}

QString operatorText(BinaryOp op) {
    switch (op) {
        case BinaryOp::Or:
            return u" OR "_s;
        case BinaryOp::And:
            return u" AND "_s;
        case BinaryOp::Equal:
            return u" = "_s;
        case BinaryOp::NotEqual:
            return u" <> "_s;
        case BinaryOp::Less:
            return u" < "_s;
        case BinaryOp::Greater:
            return u" > "_s;
        case BinaryOp::LessEqual:
            return u" <= "_s;
        case BinaryOp::GreaterEqual:
            return u" >= "_s;
        default:
            return u""_s;
    }
}

QString helperFor(BinaryOp op) {
    switch (op) {
        case BinaryOp::Concat:
            return u"slp_cat"_s;
        case BinaryOp::Add:
            return u"slp_add"_s;
        case BinaryOp::Subtract:
            return u"slp_sub"_s;
        case BinaryOp::Multiply:
            return u"slp_mul"_s;
        case BinaryOp::Divide:
            return u"slp_div"_s;
        default:
            return u""_s;
    }
}

void collectTables(const Source& s, std::vector<const TableRef*>& out) {
    if (s.isJoin) {
        collectTables(*s.left, out);
        collectTables(*s.right, out);
    } else {
        out.push_back(&s.table);
    }
}

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// Deepest nesting of parentheses in an emitted text, quoted texts and names skipped. A key or a
// clause may add one level around an expression, and SQLite's parser stack holds about 18 levels
// of the costliest kind (a call in the last argument of a call).
constexpr int maxEmittedNesting = 14;

int parenthesisDepth(QStringView sql) {
    int depth = 0;
    int deepest = 0;
    QChar quote;
    for (const QChar c : sql) {
        if (!quote.isNull()) {
            if (c == quote) quote = QChar();  // a doubled quote closes and reopens: same effect
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'(') {
            deepest = std::max(deepest, ++depth);
        } else if (c == u')') {
            --depth;
        }
    }
    return deepest;
}

class Emitter {
  public:
    Emitter(QStringView text, Dialect dialect, const Catalogue* catalogue)
        : text_(text), pg_(dialect == Dialect::PostgreSQL), catalogue_(catalogue) {
        const QString schema = QLatin1String(postgresSchema);
        collate_ = u" COLLATE "_s + (pg_ ? schema + u'.' : QString()) + QLatin1String(textCollation);
        helpers_ = pg_ ? schema + u'.' : u"slp_"_s;
    }

    QString statement(const Statement& s) {
        if (s.isDelete) return deletion(s.deletion);
        return select(s.select);
    }

  private:
    [[noreturn]] void fail(const Expr& e, const QString& message) const {
        throw SyntaxError(characterPosition(text_, e.position), e.token, message);
    }

    ValueType typeOf(const Expr& e) const {
        return jet::typeOf(e, [this](const Expr& c) { return columnType(c); });
    }

    // The catalogue's entry of a FROM table, or nullptr.
    const CatalogueTable* catalogueTable(const TableRef& t) const {
        if (!catalogue_) return nullptr;
        const auto it = catalogue_->constFind(catalogueKey(t.name));
        return it == catalogue_->constEnd() ? nullptr : &*it;
    }

    // The catalogue's entry of a column: of the table its qualifier names, or of the first FROM table
    // that has it.
    const CatalogueColumn* catalogueColumn(const Expr& c) const {
        if (!catalogue_) return nullptr;
        const QString key = catalogueKey(c.name);
        for (const TableRef* t : tables_) {
            if (!c.qualifier.isEmpty() && !sameName(t->alias.isEmpty() ? t->name : t->alias, c.qualifier)) {
                continue;
            }
            if (const CatalogueTable* table = catalogueTable(*t)) {
                const auto it = table->columns.constFind(key);
                if (it != table->columns.constEnd()) return &*it;
            }
        }
        return nullptr;
    }

    // SQLite columns may hold anything; a server engine's are typed, and a name it does not list is
    // taken as a text.
    ValueType columnType(const Expr& c) const {
        if (!pg_) return ValueType::Unknown;
        const CatalogueColumn* column = catalogueColumn(c);
        return column && column->kind == ColumnKind::Number ? ValueType::Numeric : ValueType::Text;
    }

    QString tableName(const TableRef& t) const {
        const CatalogueTable* table = catalogueTable(t);
        return quoteName(table ? table->name : t.name);
    }

    QString deletion(const DeleteStatement& d) {
        tables_ = {&d.table};
        QString out = u"DELETE FROM "_s + tableRef(d.table);
        if (d.where) out += u" WHERE "_s + expr(*d.where);
        return out;
    }

    QString select(const SelectStatement& s) {
        tables_.clear();
        collectTables(*s.from, tables_);
        const std::vector<QString> names = outputNames(s);
        // A server engine cuts longer names short, and the rows could no longer be read by them.
        constexpr qsizetype maxPostgresName = 63;  // bytes of UTF-8
        for (size_t i = 0; pg_ && i < names.size(); ++i) {
            if (names[i].toUtf8().size() > maxPostgresName) fail(*s.items[i].expr, u"名称太长"_s);
        }

        QString out = u"SELECT "_s;
        if (s.distinct) out += u"DISTINCT "_s;
        for (size_t i = 0; i < s.items.size(); ++i) {
            const SelectItem& item = s.items[i];
            if (i > 0) out += u", "_s;
            if (item.star) {
                out += item.starQualifier.isEmpty() ? u"*"_s : qualifier(item.starQualifier) + u".*"_s;
                continue;
            }
            out += expr(*item.expr);
            // distinct rows: texts that the engine holds equal count once. A server engine also wants a
            // grouped text written as its group key is, collation included.
            const bool grouped = pg_ && !s.groupBy.empty() && !containsAggregate(*item.expr);
            if ((s.distinct || grouped) && typeOf(*item.expr) != ValueType::Numeric) out += collate_;
            out += u" AS "_s + quoteName(names[i]);
        }
        out += u" FROM "_s + source(*s.from);
        if (s.where) out += u" WHERE "_s + expr(*s.where);
        if (!s.groupBy.empty()) {
            out += u" GROUP BY "_s;
            for (size_t i = 0; i < s.groupBy.size(); ++i) {
                if (i > 0) out += u", "_s;
                out += key(*s.groupBy[i], {});
            }
        }
        if (s.having) out += u" HAVING "_s + expr(*s.having);
        if (!s.orderBy.empty()) {
            out += u" ORDER BY "_s;
            for (size_t i = 0; i < s.orderBy.size(); ++i) {
                if (i > 0) out += u", "_s;
                out += key(*s.orderBy[i].expr, names);
                if (s.orderBy[i].descending) out += u" DESC"_s;
                // nulls before every value, as on SQLite
                if (pg_) out += s.orderBy[i].descending ? u" NULLS LAST"_s : u" NULLS FIRST"_s;
            }
            // Rows that tie keep the order they are stored in, as they do on SQLite: a server engine's
            // sort does not, so the first table's row position ends the keys.
            const bool aggregate = std::any_of(s.items.begin(), s.items.end(), [](const SelectItem& i) {
                return i.expr && containsAggregate(*i.expr);
            });
            if (pg_ && !s.distinct && s.groupBy.empty() && !aggregate) {
                const TableRef& first = *tables_.front();
                out += u", "_s + (first.alias.isEmpty() ? tableName(first) : quoteName(first.alias)) +
                       u".ctid"_s;
            }
        }
        return out;
    }

    // The names the rows come back under, as the host engine names them: the alias when there is one;
    // a column's own name, or table.column when two columns of that name are selected; ExprNNNN for
    // other expressions, numbered from 1000 in the order they stand.
    std::vector<QString> outputNames(const SelectStatement& s) const {
        std::vector<QString> names(s.items.size());
        int unnamed = 0;
        for (size_t i = 0; i < s.items.size(); ++i) {
            const SelectItem& item = s.items[i];
            if (item.star) continue;
            if (!item.alias.isEmpty()) {
                names[i] = item.alias;
            } else if (item.expr->kind == ExprKind::Column) {
                names[i] = item.expr->name;
                bool repeated = false;
                for (size_t j = 0; j < s.items.size(); ++j) {
                    const SelectItem& other = s.items[j];
                    if (j != i && !other.star && other.alias.isEmpty() &&
                        other.expr->kind == ExprKind::Column && sameName(other.expr->name, item.expr->name)) {
                        repeated = true;
                    }
                }
                if (repeated && !item.expr->qualifier.isEmpty()) {
                    names[i] = item.expr->qualifier + u'.' + item.expr->name;
                }
            } else {
                names[i] = u"Expr"_s + QString::number(1000 + unnamed++);
            }
        }
        return names;
    }

    // A GROUP BY or ORDER BY key. Texts sort and group like the host engine. A bare number would be
    // read by the engine as a column position, so constants are cast. A bare name that is also the alias
    // of a result column means the table's column here, so it is kept from being read as the alias (a
    // collated name is no bare name either).
    QString key(const Expr& e, const std::vector<QString>& aliases) {
        QString out;
        if (isNumberConstant(e)) return u"CAST("_s + expr(e) + u" AS REAL)"_s;
        out = expr(e);
        if (e.kind == ExprKind::Column && e.qualifier.isEmpty() &&
            !(pg_ && typeOf(e) != ValueType::Numeric)) {
            for (const QString& alias : aliases) {
                if (sameName(alias, e.name)) {
                    out = u"(+"_s + out + u')';
                    break;
                }
            }
        }
        if (typeOf(e) != ValueType::Numeric) out += collate_;
        return out;
    }

    QString tableRef(const TableRef& t) const {
        QString out = tableName(t);
        if (!t.alias.isEmpty()) out += u" AS "_s + quoteName(t.alias);
        return out;
    }

    QString source(const Source& s) {
        if (!s.isJoin) return tableRef(s.table);
        QString right = source(*s.right);
        if (s.right->isJoin) right = u'(' + right + u')';
        const QString join = s.joinKind == JoinKind::Inner ? u" INNER JOIN "_s : u" LEFT JOIN "_s;
        return source(*s.left) + join + right + u" ON "_s + expr(*s.on);
    }

    // A qualifier as the FROM clause spells it, so b. and B. name the same alias.
    QString qualifier(const QString& q) const {
        for (const TableRef* t : tables_) {
            if (!t->alias.isEmpty() && sameName(t->alias, q)) return quoteName(t->alias);
        }
        for (const TableRef* t : tables_) {
            if (t->alias.isEmpty() && sameName(t->name, q)) return tableName(*t);
        }
        return quoteName(q);
    }

    // SQLite's parser takes a limited nesting of parentheses and calls; a tree that would need more
    // is refused here, at the node where it gets too deep.
    QString expr(const Expr& e) {
        QString out = exprText(e);
        if (e.depth > 1 && parenthesisDepth(out) > maxEmittedNesting) fail(e, u"表达式嵌套过深"_s);
        return out;
    }

    QString exprText(const Expr& e) {
        switch (e.kind) {
            case ExprKind::Column: {
                const CatalogueColumn* known = catalogueColumn(e);
                const QString column = quoteName(known ? known->name : e.name);
                return e.qualifier.isEmpty() ? column : qualifier(e.qualifier) + u'.' + column;
            }
            case ExprKind::Number:
                return e.text;
            case ExprKind::Text:
                return quoteText(e.text);
            case ExprKind::Null:
                return u"NULL"_s;
            case ExprKind::Star:
                return u"*"_s;
            case ExprKind::Not:
                return u"(NOT "_s + expr(*e.args[0]) + u')';
            case ExprKind::Negate:
                if (isNumberConstant(*e.args[0])) return u"(-"_s + expr(*e.args[0]) + u')';
                if (pg_) return u"(-"_s + numericOperand(*e.args[0], typeOf(*e.args[0])) + u')';
                return u"slp_sub(0, "_s + expr(*e.args[0]) + u')';
            case ExprKind::IsNull:
                return u'(' + expr(*e.args[0]) + (e.negated ? u" IS NOT NULL)"_s : u" IS NULL)"_s);
            case ExprKind::Binary:
                return binary(e);
            case ExprKind::Call:
                return call(e);
        }
        return {};
    }

    QString binary(const Expr& e) {
        const Expr& l = *e.args[0];
        const Expr& r = *e.args[1];
        // Chains of AND, OR and & are written flat, so long chains do not nest: a AND b AND c,
        // slp_cat(a, b, c).
        if (e.op == BinaryOp::And || e.op == BinaryOp::Or || e.op == BinaryOp::Concat) {
            std::vector<const Expr*> operands;
            chain(e, e.op, operands);
            if (e.op != BinaryOp::Concat) {
                QString out = u"("_s;
                for (size_t i = 0; i < operands.size(); ++i) {
                    if (i > 0) out += operatorText(e.op);
                    out += expr(*operands[i]);
                }
                return out + u')';
            }
            if (pg_) return concatenation(operands);
            // SQLite takes at most 127 arguments in a call: longer chains go on in an outer call.
            constexpr size_t maxArguments = 100;
            QString out;
            size_t i = 0;
            while (i < operands.size()) {
                QString call = helperFor(e.op) + u'(';
                size_t inCall = 0;
                if (!out.isEmpty()) {
                    call += out;
                    inCall = 1;
                }
                for (; i < operands.size() && inCall < maxArguments; ++i, ++inCall) {
                    if (inCall > 0) call += u", "_s;
                    call += expr(*operands[i]);
                }
                out = call + u')';
            }
            return out;
        }
        if (!isComparison(e.op)) {
            if (pg_) return arithmetic(e);
            return helperFor(e.op) + u'(' + expr(l) + u", "_s + expr(r) + u')';
        }
        const ValueType lt = typeOf(l);
        const ValueType rt = typeOf(r);
        if (lt == ValueType::Numeric || rt == ValueType::Numeric) {
            // A number compared with a text compares numbers: Val(x & ' ') > '0'.
            return u'(' + numericOperand(l, lt) + operatorText(e.op) + numericOperand(r, rt) + u')';
        }
        return u'(' + expr(l) + operatorText(e.op) + expr(r) + collate_ + u')';
    }

    // The operands of a left-leaning chain of one operator, left to right.
    static void chain(const Expr& e, BinaryOp op, std::vector<const Expr*>& out) {
        const Expr* left = &e;
        std::vector<const Expr*> rights;
        while (left->kind == ExprKind::Binary && left->op == op) {
            rights.push_back(left->args[1].get());
            left = left->args[0].get();
        }
        out.push_back(left);
        out.insert(out.end(), rights.rbegin(), rights.rend());
    }

    QString numericOperand(const Expr& e, ValueType type) {
        if (type == ValueType::Numeric) return expr(e);
        if (e.kind == ExprKind::Text) {
            if (!isNumericText(e.text)) fail(e, u"类型不匹配：数值与非数字的文本比较"_s);
            const double v = leadingValue(e.text);
            if (!std::isfinite(v)) fail(e, u"类型不匹配：数值超出范围"_s);
            const QString digits = plainNumber(v);
            return v < 0 ? u'(' + digits + u')' : digits;
        }
        return helpers_ + u"num("_s + expr(e) + u')';
    }

    // A server engine's text of a value joined to a text: numbers in their plain decimal form.
    QString displayOperand(const Expr& e) {
        if (typeOf(e) == ValueType::Numeric && e.kind != ExprKind::Number) {
            return helpers_ + u"show("_s + expr(e) + u')';
        }
        // a number as written (1.50, 007) joins as its value does
        return e.kind == ExprKind::Number ? quoteText(plainNumber(leadingValue(e.text))) : expr(e);
    }

    // a & b & … on a server engine: concat() takes a null as an empty text; only nulls give null. It
    // takes up to 100 arguments, so longer chains go on in an outer one.
    QString concatenation(const std::vector<const Expr*>& operands) {
        constexpr size_t maxArguments = 90;
        QString out;
        size_t i = 0;
        while (i < operands.size()) {
            QStringList args;
            bool neverNull = false;
            if (!out.isEmpty()) args << out;
            for (; i < operands.size() && args.size() < qsizetype(maxArguments); ++i) {
                const Expr& o = *operands[i];
                if (o.kind == ExprKind::Text || o.kind == ExprKind::Number) neverNull = true;
                args << displayOperand(o);
            }
            const QString list = args.join(u", "_s);
            out = neverNull ? u"concat("_s + list + u')'
                            : u"(CASE WHEN num_nulls("_s + list + u") = "_s + QString::number(args.size()) +
                                  u" THEN NULL ELSE concat("_s + list + u") END)"_s;
        }
        return out;
    }

    // + - * / on a server engine: null gives null, + joins two texts, texts take part as the numbers
    // they read as (others are refused), and numbers are reckoned in double precision as the host does.
    QString arithmetic(const Expr& e) {
        const Expr& l = *e.args[0];
        const Expr& r = *e.args[1];
        const ValueType lt = typeOf(l);
        const ValueType rt = typeOf(r);
        if (e.op == BinaryOp::Add && lt == ValueType::Text && rt == ValueType::Text) {
            return u'(' + expr(l) + u" || "_s + expr(r) + u')';
        }
        QString op;
        switch (e.op) {
            case BinaryOp::Add:
                op = u" + "_s;
                break;
            case BinaryOp::Subtract:
                op = u" - "_s;
                break;
            case BinaryOp::Multiply:
                op = u" * "_s;
                break;
            default:
                op = u" / "_s;
                break;
        }
        return u"(CAST("_s + numericOperand(l, lt) + u" AS DOUBLE PRECISION)"_s + op + numericOperand(r, rt) +
               u')';
    }

    QString postgresCall(const Expr& e) {
        const Expr& a = *e.args[0];
        const bool number = typeOf(a) == ValueType::Numeric;
        const QString text = number ? helpers_ + u"show("_s + expr(a) + u')' : expr(a);
        if (e.text == u"val"_s) {
            return helpers_ + u"val("_s +
                   (number ? u"CAST("_s + expr(a) + u" AS DOUBLE PRECISION)"_s : text) + u')';
        }
        if (e.text == u"len"_s) return u"length("_s + text + u')';
        if (e.text == u"left"_s) {
            const Expr& n = *e.args[1];
            if (isWholeNumberLiteral(n)) return u"left("_s + text + u", "_s + n.text + u')';
            return helpers_ + u"left("_s + text + u", "_s + numericOperand(n, typeOf(n)) + u')';
        }
        if (e.text == u"count"_s) return u"count("_s + expr(a) + u')';
        return u"sum("_s + (number ? expr(a) : numericOperand(a, ValueType::Text)) + u')';
    }

    QString call(const Expr& e) {
        if (pg_) return postgresCall(e);
        const Expr& a = *e.args[0];
        if (e.text == u"val"_s) return u"slp_val("_s + expr(a) + u')';
        if (e.text == u"len"_s) return u"slp_len("_s + expr(a) + u')';
        if (e.text == u"left"_s) return u"slp_left("_s + expr(a) + u", "_s + expr(*e.args[1]) + u')';
        if (e.text == u"count"_s) return u"count("_s + expr(a) + u')';
        // sum: texts that read as numbers are added as numbers, others are refused like the host does
        const QString operand = typeOf(a) == ValueType::Numeric ? expr(a) : u"slp_num("_s + expr(a) + u')';
        return u"sum("_s + operand + u')';
    }

    QStringView text_;
    bool pg_;
    const Catalogue* catalogue_;
    QString collate_;
    QString helpers_;  // what the helper functions' names begin with
    std::vector<const TableRef*> tables_;
};

}  // namespace

QString emitSqlite(const Statement& statement, QStringView text) {
    return Emitter(text, Dialect::SQLite, nullptr).statement(statement);
}

QString emitPostgres(const Statement& statement, QStringView text, const Catalogue* catalogue) {
    return Emitter(text, Dialect::PostgreSQL, catalogue).statement(statement);
}

}  // namespace slp::jet
