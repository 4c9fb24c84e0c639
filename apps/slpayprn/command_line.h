#pragma once
// The command line: global options that fill the host fields, and one command with its own options.
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <stdexcept>

namespace slp::app {

// A wrong command line: reported on stderr with exit status 2.
class UsageError : public std::runtime_error {
  public:
    explicit UsageError(const QString& message)
        : std::runtime_error(message.toStdString()), message_(message) {}
    const QString& message() const { return message_; }

  private:
    QString message_;
};

struct OptionSpec {
    QString name;  // without the leading "--"
    bool takesValue;
    QString help;
};

// What the host hands the component: the global options.
struct HostOptions {
    QString database;  // empty: the default database (or none)
    bool databaseGiven = false;
    QString unitCode;
    QString unitName;
    QString month;
    QString payDay;
};

struct ParsedArgs {
    QStringList positional;
    QHash<QString, QString> values;     // the last value of each option
    QHash<QString, QStringList> lists;  // every value of each option, in order
    QSet<QString> flags;
    bool has(const QString& name) const { return values.contains(name) || flags.contains(name); }
    QString value(const QString& name, const QString& fallback = QString()) const {
        return values.value(name, fallback);
    }
    // Every value of an option given more than once (--dept A --dept B).
    QStringList all(const QString& name) const { return lists.value(name); }
};

// The options every command accepts.
const QList<OptionSpec>& globalOptions();

// Splits the arguments (without the program name) into options and positional words. Options may
// stand anywhere; "--name value" and "--name=value" both work. Throws UsageError for an unknown
// option or a missing value.
ParsedArgs parseArguments(const QStringList& args, const QList<OptionSpec>& accepted);

// What is wrong with a pay day for a work month (already checked as text), in words for the clerk; empty
// when it is a day of that month (1 or 2 digits, 1 to 28, 29, 30 or 31 as the month has days).
QString payDayProblem(const QString& workMonth, const QString& payDay);

// The host fields from the global options, with the demo defaults for those not given.
HostOptions hostOptionsFrom(const ParsedArgs& parsed);

}  // namespace slp::app
