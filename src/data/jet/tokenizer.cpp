#include "data/jet/tokenizer.h"

#include "data/jet/translate.h"

using namespace Qt::StringLiterals;

namespace slp::jet {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n';
}

bool isDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

// Bare names take ASCII letters, digits and '_', and any non-ASCII character that is neither a
// blank of some kind nor a control character (Chinese names, full-width brackets and the like).
bool isWordChar(QChar c) {
    const char16_t u = c.unicode();
    if (u < 0x80) return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || isDigit(c) || u == u'_';
    if (c.isSpace()) return false;
    const QChar::Category cat = c.category();
    return cat != QChar::Other_Control && cat != QChar::Other_Format && cat != QChar::Other_NotAssigned;
}

class Tokenizer {
  public:
    explicit Tokenizer(QStringView text) : text_(text) {}

    std::vector<Token> run() {
        std::vector<Token> out;
        const int n = int(text_.size());
        while (true) {
            while (pos_ < n && isBlank(text_[pos_])) ++pos_;
            if (pos_ >= n) break;
            out.push_back(next(out.empty() ? nullptr : &out.back()));
        }
        Token end;
        end.kind = TokenKind::End;
        end.position = n;
        out.push_back(end);
        return out;
    }

  private:
    [[noreturn]] void fail(int index, const QString& token, const QString& message) const {
        throw SyntaxError(characterPosition(text_, index), token, message);
    }

    Token make(TokenKind kind, int start, QString value) const {
        Token t;
        t.kind = kind;
        t.position = start;
        t.value = std::move(value);
        t.raw = text_.mid(start, pos_ - start).toString();
        return t;
    }

    Token next(const Token* previous) {
        const QChar c = text_[pos_];
        const int start = pos_;
        if (c == u'[') return bracketed();
        if (c == u'\'' || c == u'"') return quoted(c);
        // A point that follows a name, a bracket or a closing parenthesis qualifies; otherwise a point
        // followed by a digit starts a number such as .5.
        if (c == u'.' && pos_ + 1 < int(text_.size()) && isDigit(text_[pos_ + 1])) {
            const bool qualifies =
                previous && (previous->kind == TokenKind::Word || previous->kind == TokenKind::Bracketed ||
                             previous->isSymbol(u")"));
            if (!qualifies) return number(start);
        }
        if (isWordChar(c)) return word();
        static constexpr char16_t singles[] = u",().!*+-/&=;";
        for (char16_t s : singles) {
            if (s != 0 && c == QChar(s)) {
                ++pos_;
                return make(TokenKind::Symbol, start, QString(c));
            }
        }
        if (c == u'<' || c == u'>') {
            ++pos_;
            if (pos_ < int(text_.size())) {
                const QChar d = text_[pos_];
                if (d == u'=' || (c == u'<' && d == u'>')) ++pos_;
            }
            return make(TokenKind::Symbol, start, text_.mid(start, pos_ - start).toString());
        }
        fail(start, QString(c), u"无法识别的字符"_s);
    }

    Token bracketed() {
        const int start = pos_;
        ++pos_;
        QString name;
        const int n = int(text_.size());
        while (true) {
            if (pos_ >= n) fail(start, u"["_s, u"方括号没有闭合"_s);
            const QChar c = text_[pos_];
            if (c == u']') {
                if (pos_ + 1 < n && text_[pos_ + 1] == u']') {
                    name += u']';
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c.unicode() < 0x20) {
                fail(pos_, u"\\x"_s + QString::number(c.unicode(), 16), u"名称中不能有控制字符"_s);
            }
            name += c;
            ++pos_;
        }
        // The engine ignores blanks before the closing bracket: "[实发工资 ]" is 实发工资.
        while (!name.isEmpty() && name.back() == u' ') name.chop(1);
        if (name.isEmpty()) fail(start, text_.mid(start, pos_ - start).toString(), u"方括号中没有名称"_s);
        return make(TokenKind::Bracketed, start, name);
    }

    Token quoted(QChar quote) {
        const int start = pos_;
        ++pos_;
        QString value;
        const int n = int(text_.size());
        while (true) {
            if (pos_ >= n) fail(start, QString(quote), u"引号没有闭合"_s);
            const QChar c = text_[pos_];
            if (c == quote) {
                if (pos_ + 1 < n && text_[pos_ + 1] == quote) {
                    value += quote;
                    pos_ += 2;
                    continue;
                }
                ++pos_;
                break;
            }
            if (c.isNull()) fail(pos_, u"\\0"_s, u"文本中不能有空字符"_s);
            value += c;
            ++pos_;
        }
        return make(TokenKind::String, start, value);
    }

    // A run of name characters is a number when it is digits with an optional exponent, and a
    // fraction may follow; any other run is a name, so 16工资输出数据 is a name.
    Token word() {
        const int start = pos_;
        const int n = int(text_.size());
        while (pos_ < n && isWordChar(text_[pos_])) ++pos_;
        const QStringView run = text_.mid(start, pos_ - start);
        if (isDigit(run[0])) {
            int i = 0;
            while (i < run.size() && isDigit(run[i])) ++i;
            if (i == run.size()) {
                pos_ = start;
                return number(start);
            }
            // 1e5, and 1e+5 whose sign ends the run
            const bool signedExponent = i == run.size() - 1 && (run[i] == u'e' || run[i] == u'E') &&
                                        pos_ + 1 < n && (text_[pos_] == u'+' || text_[pos_] == u'-') &&
                                        isDigit(text_[pos_ + 1]);
            if (isExponent(run, i) || signedExponent) {
                pos_ = start;
                return number(start);
            }
        }
        return make(TokenKind::Word, start, run.toString());
    }

    // Whether run[i..] is exactly an exponent: E or e, an optional sign (never part of a run), digits.
    static bool isExponent(QStringView run, int i) {
        if (i >= run.size() || (run[i] != u'e' && run[i] != u'E')) return false;
        ++i;
        if (i >= run.size()) return false;
        while (i < run.size()) {
            if (!isDigit(run[i])) return false;
            ++i;
        }
        return true;
    }

    Token number(int start) {
        const int n = int(text_.size());
        while (pos_ < n && isDigit(text_[pos_])) ++pos_;
        if (pos_ + 1 < n && text_[pos_] == u'.' && isDigit(text_[pos_ + 1])) {
            ++pos_;
            while (pos_ < n && isDigit(text_[pos_])) ++pos_;
        }
        if (pos_ < n && (text_[pos_] == u'e' || text_[pos_] == u'E')) {
            int p = pos_ + 1;
            if (p < n && (text_[p] == u'+' || text_[p] == u'-')) ++p;
            if (p < n && isDigit(text_[p])) {
                pos_ = p;
                while (pos_ < n && isDigit(text_[pos_])) ++pos_;
            }
        }
        if (pos_ < n && isWordChar(text_[pos_])) {
            int end = pos_;
            while (end < n && isWordChar(text_[end])) ++end;
            fail(start, text_.mid(start, end - start).toString(), u"数字后面紧跟着名称字符"_s);
        }
        return make(TokenKind::Number, start, text_.mid(start, pos_ - start).toString());
    }

    QStringView text_;
    int pos_ = 0;
};

}  // namespace

std::vector<Token> tokenize(QStringView text) {
    return Tokenizer(text).run();
}

int characterPosition(QStringView text, int index) {
    int position = 1;
    for (int i = 0; i < index && i < text.size(); ++i) {
        if (!(text[i].isLowSurrogate() && i > 0 && text[i - 1].isHighSurrogate())) ++position;
    }
    return position;
}

}  // namespace slp::jet
