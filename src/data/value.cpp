#include "data/value.h"

#include <cmath>

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::data {

Value Value::integer(int64_t number) {
    Value v;
    v.type_ = Type::Integer;
    v.integer_ = number;
    return v;
}

Value Value::real(double number) {
    Value v;
    v.type_ = Type::Real;
    v.real_ = number;
    return v;
}

Value Value::blob(const QByteArray& bytes) {
    Value v;
    v.type_ = Type::Blob;
    v.blob_ = bytes;
    return v;
}

Value Value::fromVariant(const QVariant& variant) {
    if (!variant.isValid() || variant.isNull()) return Value();
    switch (variant.metaType().id()) {
        case QMetaType::Bool:
            return boolean(variant.toBool());
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::Long:
        case QMetaType::LongLong:
        case QMetaType::Short:
        case QMetaType::UShort:
        case QMetaType::Char:
        case QMetaType::SChar:
        case QMetaType::UChar:
            return integer(variant.toLongLong());
        case QMetaType::ULong:
        case QMetaType::ULongLong:
            if (variant.toULongLong() <= uint64_t(INT64_MAX)) return integer(variant.toLongLong());
            return real(variant.toDouble());
        case QMetaType::Float:
        case QMetaType::Double:
            return real(variant.toDouble());
        case QMetaType::QByteArray:
            return blob(variant.toByteArray());
        default:
            return Value(variant.toString());
    }
}

QString Value::toText() const {
    switch (type_) {
        case Type::Null:
            return QString();
        case Type::Integer:
            return QString::number(integer_);
        case Type::Real:
            return plainNumber(real_);
        case Type::Text:
            return text_;
        case Type::Blob:
            return QString::fromLatin1(blob_);
    }
    return QString();
}

double Value::toDouble() const {
    switch (type_) {
        case Type::Null:
            return 0;
        case Type::Integer:
            return double(integer_);
        case Type::Real:
            return real_;
        case Type::Text:
            return leadingValue(text_);
        case Type::Blob:
            return leadingValue(QString::fromLatin1(blob_));
    }
    return 0;
}

int64_t Value::toInt64() const {
    if (type_ == Type::Integer) return integer_;
    const double d = roundHalfEven(toDouble());
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!std::isfinite(d) || d >= 9223372036854775808.0 || d < -9223372036854775808.0) return 0;
    return int64_t(d);
}

bool Value::toBool() const {
    if (type_ == Type::Text) return slp::toBool(text_).value_or(false);
    return toDouble() != 0;
}

QVariant Value::toVariant() const {
    switch (type_) {
        case Type::Null:
            return QVariant();
        case Type::Integer:
            return QVariant::fromValue<qlonglong>(integer_);
        case Type::Real:
            return QVariant(real_);
        case Type::Text:
            return QVariant(text_);
        case Type::Blob:
            return QVariant(blob_);
    }
    return QVariant();
}

bool operator==(const Value& a, const Value& b) {
    if (a.type_ != b.type_) return false;
    switch (a.type_) {
        case Value::Type::Null:
            return true;
        case Value::Type::Integer:
            return a.integer_ == b.integer_;
        case Value::Type::Real:
            return a.real_ == b.real_;
        case Value::Type::Text:
            return a.text_ == b.text_;
        case Value::Type::Blob:
            return a.blob_ == b.blob_;
    }
    return false;
}

}  // namespace slp::data
