#include "card_commands.h"

#include <QFileInfo>
#include <cstdio>
#include <memory>

#include "app/card_export/card_export.h"
#include "app/card_export/card_types.h"
#include "app/shared/open_host.h"
#include "basic/error.h"
#include "data/database.h"
#include "data/wage_grid.h"
#include "default_database.h"
#include "export/bank_card_writers.h"
#include "export/card_checks.h"
#include "grid_commands.h"
#include "settings/store.h"
#include "windows/card_export/card_export_registration.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {

void writeTo(FILE* stream, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    writeOut(stream, bytes);
}

// What the window would ask or tell the clerk goes to stderr; nothing is answered, no dialog opens.
class StderrPrompts : public Prompts {
  public:
    std::optional<QString> inputBox(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon,
                             MessageButtons buttons) override {
        writeTo(stderr, (title.isEmpty() ? QString() : title + u": "_s) + text + u'\n');
        return buttons == MessageButtons::YesNo ? MessageAnswer::Yes : MessageAnswer::Ok;
    }
    std::optional<QString> saveFile(const SaveDialogRequest&) override { return std::nullopt; }
};

// The host's fields as 打印工资 would set them from the global options, with the database opened.
struct CardSession {
    HostContext host;
    settings::Store store;
    StderrPrompts prompts;
    std::unique_ptr<card::CardExport> logic;
};

// Opens the database and runs the window's opening steps, then the order asked for. False (after a
// message on stderr) when the grid could not be filled.
bool openSession(CardSession& s, const ParsedArgs& args, const HostOptions& options) {
    const card::SortChoice* sort = nullptr;
    if (args.has(u"sort"_s)) {
        sort = card::findSortWord(args.value(u"sort"_s));
        if (!sort) throw UsageError(u"--sort 应为 工号、部门、卡号 或 姓名"_s);
    }
    HostRequest request = hostRequest(options);
    try {
        request.connection = connectionFor(options);
    } catch (const Error& e) {
        writeTo(stderr, e.description() + u'\n');
        return false;
    }
    if (!openHost(s.host, request, s.prompts)) return false;
    s.logic = std::make_unique<card::CardExport>(s.host, s.store, card::defaultCardFileFolder());
    if (!s.logic->open(s.prompts)) return false;
    return !sort || s.logic->sortBy(sort->order, s.prompts);
}

int runCard(const ParsedArgs& args, const HostOptions& options) {
    const QString type = args.value(u"type"_s);
    const QString out = args.value(u"out"_s);
    if (type.isEmpty()) throw UsageError(u"card 需要 --type，即窗口中的一种工资卡类型"_s);
    if (out.isEmpty()) throw UsageError(u"card 需要 --out FILE，即要写入的文件"_s);
    const auto format = bank::cardFormatForType(type);
    if (!format) {
        // The types a file can be written for are named, so the clerk need not guess the spelling.
        QStringList writable;
        for (const card::CardTypeInfo& info : card::cardTypes()) {
            if (bank::cardFormatForType(info.type)) writable << info.type.toString();
        }
        writeTo(stderr, (card::findCardType(type) ? u"目前尚无此工资卡格式!"_s : u"未知文件格式!"_s) +
                            u"\n可以输出的工资卡类型："_s + writable.join(u"、"_s) + u'\n');
        return 1;
    }

    CardSession s;
    if (!openSession(s, args, options)) return 1;
    card::CardExport& logic = *s.logic;
    logic.chooseCardType(type);
    const std::pair<const char16_t*, int> overrides[] = {{u"unit-code", card::CardExport::UnitCode},
                                                         {u"date", card::CardExport::CreditDate},
                                                         {u"count", card::CardExport::HeadCount},
                                                         {u"total", card::CardExport::TotalAmount}};
    for (const auto& [name, field] : overrides) {
        const QString option = QString::fromUtf16(name);
        if (args.has(option)) logic.setField(field, args.value(option));
    }
    const bank::CardFileInput input = logic.cardFileInput();
    for (const QString& warning : bank::CheckCardFileInput(input, *format)) {
        writeTo(stderr, u"请核对："_s + warning + u'\n');
    }
    try {
        bank::WriteBankCardFile(*format, input, s.prompts, out);
    } catch (const Error& e) {
        writeTo(stderr, u"错误号:"_s + QString::number(e.number()) + u" "_s + e.description() + u'\n');
        return 1;
    }
    writeTo(stdout, QFileInfo(out).absoluteFilePath() + u": 入卡人数为:"_s +
                        logic.field(card::CardExport::HeadCount) + u"人 金额为:"_s +
                        logic.field(card::CardExport::TotalAmount) + u"元\n"_s);
    return 0;
}

// A cell as one TSV field: tabs and line breaks would split it, so they become blanks.
QString tsvField(QString text) {
    for (QChar& c : text) {
        if (c == u'\t' || c == u'\n' || c == u'\r') c = u' ';
    }
    return text;
}

int runGridCard(const ParsedArgs& args, const HostOptions& options) {
    CardSession s;
    if (!openSession(s, args, options)) return 1;
    const data::WageGrid& grid = s.logic->grid();
    QString text;
    for (int r = 0; r < grid.rows(); ++r) {
        for (int c = 0; c < grid.cols(); ++c) {
            if (c > 0) text += u'\t';
            text += tsvField(grid.text(r, c));
        }
        text += u'\n';
        if (text.size() > (1 << 16)) {
            writeTo(stdout, text);
            text.clear();
        }
    }
    writeTo(stdout, text);
    return 0;
}

const OptionSpec kSortOption{u"sort"_s, true, u"KEY   排序方式：工号（默认）、部门、卡号 或 姓名"_s};

}  // namespace

QList<Command> cardCommands() {
    return {
        {{u"card"_s},
         QString(),
         u"像“工资卡输出”窗口那样写出本月的银行工资卡文件"_s,
         {{u"type"_s, true,
           u"TYPE  工资卡类型：中国建设银行龙卡、中国人民邮政储蓄卡、中国工商银行浦江卡、"_s
           u"中国工商银行牡丹卡、中国农业银行白玉兰卡"_s},
          {u"out"_s, true, u"FILE  要写入的文件（整个替换；失败时原文件不变）"_s},
          kSortOption,
          {u"unit-code"_s, true, u"CODE  单位代码或邮局局号（默认：已保存的）"_s},
          {u"date"_s, true, u"DATE  进卡日期（默认：发薪日期）"_s},
          {u"count"_s, true, u"N     入卡人数（默认：表格的行数）"_s},
          {u"total"_s, true, u"T     入卡金额（默认：表格的合计）"_s}},
         false,
         runCard},
        {{u"grid"_s, u"card"_s},
         QString(),
         u"以制表符分隔的文本输出“工资卡输出”的表格，第一行为标题"_s,
         {kSortOption},
         false,
         runGridCard},
    };
}

}  // namespace slp::app
