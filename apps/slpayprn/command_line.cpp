#include "command_line.h"

#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::app {

const QList<OptionSpec>& globalOptions() {
    static const QList<OptionSpec> options = {
        {u"db"_s, true,
         u"FILE  the wage database file or a postgresql:// URL (default: the demo database)"_s},
        {u"unit"_s, true, u"CODE  单位代码 (default 0101)"_s},
        {u"unit-name"_s, true, u"NAME  单位名称 (default 朔岚示范公司)"_s},
        {u"month"_s, true, u"TEXT  工作年月, a four-digit year, a dash and the month (default 2000-04)"_s},
        {u"payday"_s, true, u"TEXT  发薪日, the day of the month (default 25)"_s},
        {u"help"_s, false, u"      list every command"_s},
        {u"version"_s, false, u"      print the component's version"_s},
        {u"man-page"_s, false, u"      print this help as a man page (roff)"_s},
    };
    return options;
}

ParsedArgs parseArguments(const QStringList& args, const QList<OptionSpec>& accepted) {
    ParsedArgs out;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (!a.startsWith(u"--"_s) || a == u"--"_s) {
            out.positional << a;
            continue;
        }
        QString name = a.mid(2);
        QString inlineValue;
        bool hasInline = false;
        if (const qsizetype eq = name.indexOf(u'='); eq >= 0) {
            inlineValue = name.mid(eq + 1);
            name = name.left(eq);
            hasInline = true;
        }
        const OptionSpec* option = nullptr;
        for (const auto& s : accepted) {
            if (s.name == name) option = &s;
        }
        if (!option) throw UsageError(u"unknown option --"_s + name);
        if (!option->takesValue) {
            if (hasInline) throw UsageError(u"option --"_s + name + u" takes no value"_s);
            out.flags.insert(name);
            continue;
        }
        if (!hasInline) {
            if (i + 1 >= args.size()) throw UsageError(u"option --"_s + name + u" needs a value"_s);
            inlineValue = args[++i];
        }
        out.values.insert(name, inlineValue);
        out.lists[name] << inlineValue;
    }
    return out;
}

HostOptions hostOptionsFrom(const ParsedArgs& parsed) {
    HostOptions h;
    h.databaseGiven = parsed.values.contains(u"db"_s);
    h.database = parsed.value(u"db"_s);
    h.unitCode = parsed.value(u"unit"_s, u"0101"_s);
    h.unitName = parsed.value(u"unit-name"_s, u"朔岚示范公司"_s);
    h.month = parsed.value(u"month"_s, u"2000-04"_s);
    h.payDay = parsed.value(u"payday"_s, u"25"_s);
    // The host's texts are checked where they enter, as the component's puts check them.
    if (!isWorkMonthText(h.month)) {
        throw UsageError(u"--month takes a four-digit year, a dash and the month (e.g. 2000-04), not "_s +
                         visibleControls(h.month));
    }
    // The component takes any one- or two-digit month as the host hands it; on the command line a month
    // that no calendar has is a typing error.
    if (const int month = h.month.section(u'-', 1).toInt(); month < 1 || month > 12) {
        throw UsageError(u"--month 的月份应为1到12，而不是"_s + visibleControls(h.month));
    }
    if (firstControlCharacter(h.unitCode) >= 0) {
        throw UsageError(u"--unit holds a control character: "_s + visibleControls(h.unitCode));
    }
    if (firstControlCharacter(h.unitName) >= 0) {
        throw UsageError(u"--unit-name holds a control character: "_s + visibleControls(h.unitName));
    }
    return h;
}

}  // namespace slp::app
