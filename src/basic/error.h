#pragma once
// Errors travel as values or typed exceptions up to the window that shows them.
// Each carries the host-style error number and a description in the system's words.
#include <QString>
#include <stdexcept>

namespace slp {

class Error : public std::runtime_error {
  public:
    Error(int number, const QString& description)
        : std::runtime_error(description.toStdString()), number_(number), description_(description) {}
    int number() const { return number_; }
    const QString& description() const { return description_; }

  private:
    int number_;
    QString description_;
};

// Host error numbers the windows show in their message boxes.
namespace errnum {
inline constexpr int TypeMismatch = 13;  // a text that does not convert
inline constexpr int Overflow = 6;       // a value outside its integer range
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int FileNotFound = 53;
inline constexpr int PermissionDenied = 70;
inline constexpr int PathNotFound = 76;
inline constexpr int DeviceIo = 57;
inline constexpr int DiskFull = 61;    // a full disk, or a file grown past its limit
inline constexpr int NoPrinter = 484;  // no printer installed
inline constexpr int Database = 3000;  // any error of the database engine
}  // namespace errnum

// A conversion that leaves the 16-bit range.
class OverflowError : public Error {
  public:
    explicit OverflowError(const QString& what) : Error(errnum::Overflow, what) {}
};

// An index outside the list or grid it reads from ("下标越界").
class SubscriptError : public Error {
  public:
    SubscriptError() : Error(errnum::SubscriptOutOfRange, QStringLiteral("下标越界")) {}
};

// A text that does not convert to the type asked for.
class ConversionError : public Error {
  public:
    explicit ConversionError(const QString& what) : Error(errnum::TypeMismatch, what) {}
};

// Thrown by the window registry when a window has not been built into this component.
class MissingWindowError : public std::runtime_error {
  public:
    explicit MissingWindowError(const QString& description)
        : std::runtime_error(description.toStdString()), description_(description) {}
    const QString& description() const { return description_; }

  private:
    QString description_;
};

}  // namespace slp
