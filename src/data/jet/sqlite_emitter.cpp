#include "data/jet/sqlite_emitter.h"

#include <algorithm>
#include <cmath>

#include "basic/conversions.h"
#include "data/jet/tokenizer.h"
#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

namespace {

// What the tree tells about the value of an expression. Columns are Unknown: a wage column may hold
// numbers or texts.
enum class ValueType { Numeric, Text, Unknown };

const QString collate = u" COLLATE "_s + QLatin1String(textCollation);

QString quoteName(const QString& name) {
    return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"';
}

QString quoteText(const QString& text) {
    return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\'';
}

ValueType typeOf(const Expr& e) {
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
                    const ValueType l = typeOf(*e.args[0]);
                    const ValueType r = typeOf(*e.args[1]);
                    if (l == ValueType::Numeric || r == ValueType::Numeric) return ValueType::Numeric;
                    if (l == ValueType::Text && r == ValueType::Text) return ValueType::Text;
                    return ValueType::Unknown;
                }
                default:
                    return ValueType::Numeric;
            }
        case ExprKind::Call:
            return e.text == u"left"_s ? ValueType::Text : ValueType::Numeric;
        default:
            return ValueType::Unknown;
    }
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
    explicit Emitter(QStringView text) : text_(text) {}

    QString statement(const Statement& s) {
        if (s.isDelete) return deletion(s.deletion);
        return select(s.select);
    }

  private:
    [[noreturn]] void fail(const Expr& e, const QString& message) const {
        throw SyntaxError(characterPosition(text_, e.position), e.token, message);
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
            // distinct rows: texts that the engine holds equal count once
            if (s.distinct && typeOf(*item.expr) != ValueType::Numeric) out += collate;
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
    // read by SQLite as a column position, so constants are cast. A bare name that is also the alias of
    // a result column means the table's column here, so it is kept from being read as the alias.
    QString key(const Expr& e, const std::vector<QString>& aliases) {
        QString out;
        if (isNumberConstant(e)) return u"CAST("_s + expr(e) + u" AS REAL)"_s;
        out = expr(e);
        if (e.kind == ExprKind::Column && e.qualifier.isEmpty()) {
            for (const QString& alias : aliases) {
                if (sameName(alias, e.name)) {
                    out = u"(+"_s + out + u')';
                    break;
                }
            }
        }
        if (typeOf(e) != ValueType::Numeric) out += collate;
        return out;
    }

    QString tableRef(const TableRef& t) const {
        QString out = quoteName(t.name);
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
            if (t->alias.isEmpty() && sameName(t->name, q)) return quoteName(t->name);
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
                const QString column = quoteName(e.name);
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
            return helperFor(e.op) + u'(' + expr(l) + u", "_s + expr(r) + u')';
        }
        const ValueType lt = typeOf(l);
        const ValueType rt = typeOf(r);
        if (lt == ValueType::Numeric || rt == ValueType::Numeric) {
            // A number compared with a text compares numbers: Val(x & ' ') > '0'.
            return u'(' + numericOperand(l, lt) + operatorText(e.op) + numericOperand(r, rt) + u')';
        }
        return u'(' + expr(l) + operatorText(e.op) + expr(r) + collate + u')';
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
        return u"slp_num("_s + expr(e) + u')';
    }

    QString call(const Expr& e) {
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
    std::vector<const TableRef*> tables_;
};

}  // namespace

QString emitSqlite(const Statement& statement, QStringView text) {
    return Emitter(text).statement(statement);
}

}  // namespace slp::jet
