#include "commands.h"

#include <QApplication>
#include <cerrno>
#include <cstdio>

#include "basic/conversions.h"
#include "basic/error.h"
#include "card_commands.h"
#include "data/database.h"
#include "data/demo_database.h"
#include "default_database.h"
#include "grid_commands.h"
#include "host_window.h"
#include "mail_commands.h"
#include "payment_commands.h"
#include "print_commands.h"
#include "special_commands.h"
#include "summary_commands.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

void printErr(const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\n';
    writeOut(stderr, bytes);
}

int runHost(const ParsedArgs&, const HostOptions& options) {
    HostOptions host = options;
    try {
        host.database = databaseFor(options);
    } catch (const slp::Error& e) {
        printErr(e.description());
        host.database.clear();  // the host still opens, with an empty database field
    }
    HostWindow window(host);
    window.show();
    return QApplication::exec();
}

int runDemoDb(const ParsedArgs& args, const HostOptions&) {
    if (args.positional.size() != 1) throw UsageError(u"demo-db needs one FILE or postgresql:// URL"_s);
    data::DemoOptions options;
    if (args.has(u"employees"_s)) {
        bool ok = false;
        options.employees = args.value(u"employees"_s).toInt(&ok);
        if (!ok || options.employees < 0)
            throw UsageError(u"--employees needs a whole number of 0 or more"_s);
    }
    options.month = args.value(u"month"_s, options.month);
    if (args.has(u"seed"_s)) {
        bool ok = false;
        options.seed = args.value(u"seed"_s).toULongLong(&ok);
        if (!ok) throw UsageError(u"--seed needs a whole number"_s);
    }
    options.replace = args.has(u"replace"_s);
    options.narrow = !args.has(u"wide"_s);
    try {
        const QString& target = args.positional.front();
        data::DemoSummary s;
        if (isServerUrl(target)) {
            // A server database: the month's tables are written into it (their names must be free).
            data::Database db(target);
            s = data::writeDemoData(db, options);
        } else {
            s = data::createDemoDatabase(target, options);
        }
        const QByteArray line =
            (data::connectionWithoutPassword(args.positional.front()) + u": "_s +
             QString::number(s.departments) + u" departments, "_s + QString::number(s.groups) +
             u" groups, "_s + QString::number(s.employees) + u" employees, "_s + QString::number(s.items) +
             u" items, month "_s + options.month + u'\n')
                .toUtf8();
        writeOut(stdout, line);
        return 0;
    } catch (const slp::Error& e) {
        printErr(e.description());
        return 1;
    }
}

}  // namespace

const QList<Command>& commands() {
    // The commands of each part of the system come from their own files, one line each here.
    static const QList<Command> list =
        QList<Command>{
            {{u"host"_s},
             QString(),
             u"open the demo host window 工资管理 (what slpayprn alone does)"_s,
             {},
             true,
             runHost},
            {{u"demo-db"_s},
             u"FILE|URL [--month YYYY-MM]"_s,
             u"write a deterministic demo wage database (refuses an existing FILE unless --replace), or its "
             u"tables into a postgresql:// database"_s,
             {{u"employees"_s, true, u"N     number of employees (default 200)"_s},
              {u"seed"_s, true, u"S     seed of the generator (default 20000425)"_s},
              {u"replace"_s, false, u"     replace an existing FILE"_s},
              {u"wide"_s, false,
               u"      the wide month of 28 items (wider than any paper at the default font size) instead of "_s
               u"the 11 items whose wage table fits A4"_s}},
             false,
             runDemoDb},
        } +
        gridCommands() + printCommands() + cardCommands() + summaryCommands() + paymentCommands() +
        specialCommands() + mailCommands();
    return list;
}

namespace {
// An option's help text starts with the name of its value when it takes one ("FILE  the wage database"):
// the value's name and the explanation apart.
std::pair<QString, QString> optionValueAndHelp(const OptionSpec& o) {
    const QString help = o.help.trimmed();
    if (!o.takesValue) return {QString(), help};
    const qsizetype gap = help.indexOf(u' ');
    return {gap < 0 ? help : help.left(gap), gap < 0 ? QString() : help.mid(gap).trimmed()};
}

// "--name VALUE" in one column, its explanation in the next.
QString optionLine(const OptionSpec& o, int indent) {
    const auto [value, help] = optionValueAndHelp(o);
    const QString left = u"--"_s + o.name + (value.isEmpty() ? QString() : u' ' + value);
    return QString(indent, u' ') + left.leftJustified(22) + u' ' + help + u'\n';
}

// Text for a man page: backslashes escaped, dashes as the minus sign options need, a line that would
// start with a control character guarded.
QString roff(const QString& text) {
    QString out = text;
    out.replace(u'\\', u"\\e"_s).replace(u'-', u"\\-"_s);
    if (out.startsWith(u'.') || out.startsWith(u'\'')) out.prepend(u"\\&"_s);
    return out;
}

QString roffOption(const OptionSpec& o) {
    const auto [value, help] = optionValueAndHelp(o);
    QString out = u".TP\n\\fB\\-\\-"_s + roff(o.name) + u"\\fR"_s;
    if (!value.isEmpty()) out += u" \\fI"_s + roff(value) + u"\\fR"_s;
    return out + u'\n' + roff(help) + u'\n';
}
}  // namespace

namespace {
int outputError = 0;
}

void writeOut(FILE* stream, const QByteArray& bytes) {
    if (bytes.isEmpty()) return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream) != size_t(bytes.size()) &&
        outputError == 0) {
        outputError = errno != 0 ? errno : EIO;
    }
}

int firstOutputError() {
    return outputError;
}

QString helpText() {
    QString out =
        u"usage: slpayprn [global options] [command] [command options]\n\n"_s
        u"Sl_PAYPRN prints a month's wage tables and slips and writes the banks' payroll-card files.\n\n"_s
        u"global options:\n"_s;
    for (const auto& o : globalOptions()) out += optionLine(o, 2);
    out += u"\ncommands:\n"_s;
    for (const auto& c : commands()) {
        out += u"  slpayprn "_s + c.words.join(u' ');
        if (!c.synopsis.isEmpty()) out += u' ' + c.synopsis;
        out += u"\n      "_s + c.summary + u'\n';
        for (const auto& o : c.options) out += optionLine(o, 6);
    }
    return out;
}

QString manPage(const QString& version) {
    QString out = u".TH SLPAYPRN 1 \"\" \"slpayprn "_s + version +
                  u"\" \"Sl_PAYPRN\"\n"
                  u".SH NAME\n"
                  u"slpayprn \\- the wage-printing component's command line and demo host\n"
                  u".SH SYNOPSIS\n"
                  u".B slpayprn\n"
                  u"[\\fIglobal options\\fR] [\\fIcommand\\fR] [\\fIcommand options\\fR]\n"
                  u".SH DESCRIPTION\n"_s +
                  roff(
                      u"Sl_PAYPRN prints a month's wage tables and slips and writes the banks' "
                      u"payroll-card files."_s) +
                  u"\nWithout a command it opens the demo host window.\n"
                  u".SH GLOBAL OPTIONS\n"_s;
    for (const auto& o : globalOptions()) out += roffOption(o);
    out += u".SH COMMANDS\n"_s;
    for (const auto& c : commands()) {
        QString heading = u"slpayprn "_s + c.words.join(u' ');
        if (!c.synopsis.isEmpty()) heading += u' ' + c.synopsis;
        out += u".SS \""_s + roff(heading) + u"\"\n"_s + roff(c.summary) + u'\n';
        for (const auto& o : c.options) out += roffOption(o);
    }
    out +=
        u".SH EXIT STATUS\n"
        u"0 when the command did its work, 1 on a message of the system or an error (on stderr), 2 on a "
        u"wrong command line.\n"_s;
    return out;
}

}  // namespace slp::app
