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
    if (args.positional.size() != 1)
        throw UsageError(u"demo-db 需要一个数据库文件 FILE 或一个 postgresql:// 地址"_s);
    data::DemoOptions options;
    if (args.has(u"employees"_s)) {
        bool ok = false;
        options.employees = args.value(u"employees"_s).toInt(&ok);
        if (!ok || options.employees < 0) throw UsageError(u"--employees 应为0或更大的整数"_s);
    }
    options.month = args.value(u"month"_s, options.month);
    if (args.has(u"seed"_s)) {
        bool ok = false;
        options.seed = args.value(u"seed"_s).toULongLong(&ok);
        if (!ok) throw UsageError(u"--seed 应为整数"_s);
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
            (data::connectionWithoutPassword(args.positional.front()) + u"："_s +
             u"%1个部门，%2个班组，%3名员工，%4个工资项目，工作年月 %5\n"_s.arg(s.departments)
                 .arg(s.groups)
                 .arg(s.employees)
                 .arg(s.items)
                 .arg(options.month))
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
             u"打开示范主程序窗口“工资管理”（不带命令时即做此事）"_s,
             {},
             true,
             runHost},
            {{u"demo-db"_s},
             u"FILE|URL [--month YYYY-MM]"_s,
             u"生成一个内容固定的示范工资数据库（FILE 已存在时不覆盖，除非给出 --replace），或把示范数据表"
             u"写入 postgresql:// 服务器数据库"_s,
             {{u"employees"_s, true, u"N     员工人数（默认 200）"_s},
              {u"seed"_s, true, u"S     生成数据所用的随机种子（默认 20000425）"_s},
              {u"replace"_s, false, u"     覆盖已存在的 FILE"_s},
              {u"wide"_s, false,
               u"      生成28个工资项目的宽月份（默认字号下比任何纸张都宽），而不是工资表能放进A4纸的11个项目"_s}},
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
        u"用法：slpayprn [全局选项] [命令] [命令选项]\n\n"_s
        u"Sl_PAYPRN 打印每月的工资表和工资条，并输出各银行的工资卡文件。\n\n"_s
        u"全局选项：\n"_s;
    for (const auto& o : globalOptions()) out += optionLine(o, 2);
    out += u"\n命令：\n"_s;
    for (const auto& c : commands()) {
        out += u"  slpayprn "_s + c.words.join(u' ');
        if (!c.synopsis.isEmpty()) out += u' ' + c.synopsis;
        out += u"\n      "_s + c.summary + u'\n';
        for (const auto& o : c.options) out += optionLine(o, 6);
    }
    return out;
}

QString commandHelpText(const Command& c) {
    QString out = u"用法：slpayprn "_s + c.words.join(u' ');
    if (!c.synopsis.isEmpty()) out += u' ' + c.synopsis;
    out += u" [选项]\n\n"_s + c.summary + u"\n"_s;
    if (!c.options.isEmpty()) {
        out += u"\n选项：\n"_s;
        for (const auto& o : c.options) out += optionLine(o, 2);
    }
    out += u"\n全局选项：\n"_s;
    for (const auto& o : globalOptions()) out += optionLine(o, 2);
    out += u"\n全部命令请看 slpayprn --help。\n"_s;
    return out;
}

QString manPage(const QString& version) {
    QString out = u".TH SLPAYPRN 1 \"\" \"slpayprn "_s + version +
                  u"\" \"Sl_PAYPRN\"\n"
                  u".SH 名称\n"
                  u"slpayprn \\- 工资打印组件的命令行和示范主程序\n"
                  u".SH 概要\n"
                  u".B slpayprn\n"
                  u"[\\fI全局选项\\fR] [\\fI命令\\fR] [\\fI命令选项\\fR]\n"
                  u".SH 描述\n"_s +
                  roff(u"Sl_PAYPRN 打印每月的工资表和工资条，并输出各银行的工资卡文件。"_s) +
                  u"\n不带命令时打开示范主程序窗口。\n"
                  u".SH 全局选项\n"_s;
    for (const auto& o : globalOptions()) out += roffOption(o);
    out += u".SH 命令\n"_s;
    for (const auto& c : commands()) {
        QString heading = u"slpayprn "_s + c.words.join(u' ');
        if (!c.synopsis.isEmpty()) heading += u' ' + c.synopsis;
        out += u".SS \""_s + roff(heading) + u"\"\n"_s + roff(c.summary) + u'\n';
        for (const auto& o : c.options) out += roffOption(o);
    }
    out +=
        u".SH 退出状态\n"
        u"0：命令已完成；1：出现系统提示或错误（写在标准错误输出上）；2：命令行有误。\n"_s;
    return out;
}

}  // namespace slp::app
