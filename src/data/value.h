#pragma once
// One field value as the engine hands it over: null, a whole number, a real number, a text or bytes.
// The windows mostly want a value "as the host shows it as text": null becomes the empty text and
// numbers their plain decimal text.
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <cstdint>

namespace slp::data {

class Value {
  public:
    enum class Type : uint8_t { Null, Integer, Real, Text, Blob };

    Value() = default;                                                // null
    Value(const QString& text) : type_(Type::Text), text_(text) {}    // NOLINT: a text converts naturally
    Value(const char16_t* text) : Value(QString::fromUtf16(text)) {}  // NOLINT

    static Value null() { return Value(); }
    static Value integer(int64_t number);
    static Value real(double number);
    static Value text(const QString& text) { return Value(text); }
    static Value blob(const QByteArray& bytes);
    // The host stores True as -1 and False as 0.
    static Value boolean(bool flag) { return integer(flag ? -1 : 0); }
    // Null for an invalid or null variant; numbers, texts and bytes by their kind; anything else as text.
    static Value fromVariant(const QVariant& variant);

    Type type() const { return type_; }
    bool isNull() const { return type_ == Type::Null; }
    bool isNumber() const { return type_ == Type::Integer || type_ == Type::Real; }
    bool isText() const { return type_ == Type::Text; }

    // The value as the host reads it as text: null -> "", numbers as plain decimal text, bytes as Latin-1.
    QString toText() const;
    // Numeric value: numbers as they are, a text's leading numeric value (slp::leadingValue), null -> 0.
    double toDouble() const;
    // Whole-number value: integers as they are, anything else toDouble() rounded half to even
    // (0 when that is not finite or out of range).
    int64_t toInt64() const;
    // Non-zero numbers and texts that read as true ("True", "-1", "1") are true.
    bool toBool() const;
    QVariant toVariant() const;
    // Only the text or bytes, unconverted (empty for other types).
    const QString& textValue() const { return text_; }
    const QByteArray& blobValue() const { return blob_; }

    // Same type and same content.
    friend bool operator==(const Value& a, const Value& b);

  private:
    Type type_ = Type::Null;
    int64_t integer_ = 0;
    double real_ = 0;
    QString text_;
    QByteArray blob_;
};

}  // namespace slp::data
