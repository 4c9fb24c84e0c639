#include "command_line.h"

#include <QDate>

#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp::app {

const QList<OptionSpec>& globalOptions() {
    static const QList<OptionSpec> options = {
        {u"db"_s, true,
         u"FILE  工资数据库文件，或 postgresql:// 开头的服务器数据库地址（默认：示范数据库）"_s},
        {u"unit"_s, true, u"CODE  单位代码（默认 0101）"_s},
        {u"unit-name"_s, true, u"NAME  单位名称（默认 朔岚示范公司）"_s},
        {u"month"_s, true, u"TEXT  工作年月：四位年份、短横线和月份（默认 2000-04）"_s},
        {u"payday"_s, true, u"TEXT  发薪日：当月的第几日（默认 25）"_s},
        {u"help"_s, false, u"      列出全部命令及其选项；写在命令之后时只列出该命令的"_s},
        {u"version"_s, false, u"      显示本组件的版本"_s},
        {u"man-page"_s, false, u"      以手册页（roff）格式输出本帮助"_s},
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
        if (!option) throw UsageError(u"没有这个选项：--"_s + name);
        if (!option->takesValue) {
            if (hasInline) throw UsageError(u"选项 --"_s + name + u" 不带值"_s);
            out.flags.insert(name);
            continue;
        }
        if (!hasInline) {
            if (i + 1 >= args.size()) throw UsageError(u"选项 --"_s + name + u" 后面缺少值"_s);
            inlineValue = args[++i];
        }
        out.values.insert(name, inlineValue);
        out.lists[name] << inlineValue;
    }
    return out;
}

QString payDayProblem(const QString& workMonth, const QString& payDay) {
    const QDate first(workMonth.left(4).toInt(), workMonth.section(u'-', 1).toInt(), 1);
    const int days = first.isValid() ? first.daysInMonth() : 31;
    bool digits = !payDay.isEmpty() && payDay.size() <= 2;
    for (const QChar c : payDay) digits = digits && c >= u'0' && c <= u'9';
    const int day = digits ? payDay.toInt() : 0;
    if (day >= 1 && day <= days) return QString();
    return u"发薪日应为%1的第1到%2日，而不是“%3”"_s.arg(workMonth, QString::number(days),
                                                        visibleControls(payDay));
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
        throw UsageError(u"--month 应为四位年份、短横线和月份（例如 2000-04），而不是"_s +
                         visibleControls(h.month));
    }
    // The component takes any one- or two-digit month as the host hands it; on the command line a month
    // that no calendar has is a typing error.
    if (const int month = h.month.section(u'-', 1).toInt(); month < 1 || month > 12) {
        throw UsageError(u"--month 的月份应为1到12，而不是"_s + visibleControls(h.month));
    }
    // The pay day is printed on every table as the pay date: a day no calendar has is a typing error.
    if (const QString problem = payDayProblem(h.month, h.payDay); !problem.isEmpty()) {
        throw UsageError(u"--payday："_s + problem);
    }
    if (firstControlCharacter(h.unitCode) >= 0) {
        throw UsageError(u"--unit 含有控制字符："_s + visibleControls(h.unitCode));
    }
    if (firstControlCharacter(h.unitName) >= 0) {
        throw UsageError(u"--unit-name 含有控制字符："_s + visibleControls(h.unitName));
    }
    return h;
}

}  // namespace slp::app
