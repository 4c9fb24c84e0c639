// Writes one bank payroll-card file from a card grid given as tab-separated text (what
// `slpayprn grid card` prints: the caption row, then 序号, 姓名, 卡号, 金额 a line), with the header
// fields the window fills: a unit code, a credit date, the row count and the total of the amounts.
//
//   bench_card_files GRID.tsv long|post|pujiang|mudan|baiyulan OUT [UNIT_CODE [DATE]]
//
// Timed as a whole process by run_bank.sh.
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstdio>

#include "basic/currency.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "export/bank_card_writers.h"

using namespace Qt::StringLiterals;
namespace bank = slp::bank;

namespace {

std::optional<bank::CardFormat> formatNamed(QStringView name) {
    if (name == u"long") return bank::CardFormat::Long;
    if (name == u"post") return bank::CardFormat::PostSavings;
    if (name == u"pujiang") return bank::CardFormat::Pujiang;
    if (name == u"mudan") return bank::CardFormat::Mudan;
    if (name == u"baiyulan") return bank::CardFormat::Baiyulan;
    return bank::cardFormatForType(name);
}

int fail(const QString& text) {
    std::fputs(qPrintable(text + u'\n'), stderr);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    QStringList args;
    for (int i = 1; i < argc; ++i) args << QString::fromLocal8Bit(argv[i]);
    if (args.size() < 3) {
        return fail(
            u"usage: bench_card_files GRID.tsv long|post|pujiang|mudan|baiyulan OUT [UNIT_CODE [DATE]]"_s);
    }
    const auto format = formatNamed(args[1]);
    if (!format) return fail(u"unknown format: "_s + args[1]);
    QFile grid(args[0]);
    if (!grid.open(QIODevice::ReadOnly)) return fail(args[0] + u": "_s + grid.errorString());
    // The rows' texts stay in this one decoded text: each field is a QString over its part of it, as a
    // caller that holds the grid in memory would hand it over.
    // Mapped rather than read into a buffer of its own (an empty file cannot be mapped).
    const uchar* mapped = grid.size() > 0 ? grid.map(0, grid.size()) : nullptr;
    const QString text = mapped ? QString::fromUtf8(reinterpret_cast<const char*>(mapped), grid.size())
                                : QString::fromUtf8(grid.readAll());

    bank::CardFileInput input;
    input.unitCode = args.value(3, u"330100"_s);
    input.creditDate = args.value(4, u"2000-04-25"_s);
    input.unitName = u"朔岚示范公司"_s;
    slp::CurrencyTotal total;
    const QChar* const all = text.constData();
    const qsizetype size = text.size();
    input.rows.reserve(std::count(text.cbegin(), text.cend(), u'\n'), size);
    // Line by line after the caption row: 序号, 姓名, 卡号, 金额 between tabs.
    qsizetype at = text.indexOf(u'\n') + 1;
    while (at > 0 && at < size) {
        qsizetype tabs[3];
        int found = 0;
        qsizetype end = at;
        for (; end < size && all[end] != u'\n'; ++end) {
            if (all[end] == u'\t' && found < 3) tabs[found++] = end;
        }
        const QStringView line(all + at, end - at);
        at = end + 1;
        if (line.isEmpty()) continue;
        if (found < 3) return fail(u"not a card grid line: "_s + line.toString());
        const auto field = [&](qsizetype from, qsizetype to) { return QStringView(all + from, to - from); };
        input.rows.append(field(tabs[0] + 1, tabs[1]), field(tabs[1] + 1, tabs[2]), field(tabs[2] + 1, end));
        total.add(slp::currencyUnits(QStringView(all + tabs[2] + 1, end - tabs[2] - 1)));
    }
    input.headCount = QString::number(input.rows.size());
    input.totalAmount = total.text();
    try {
        slp::ScriptedPrompts prompts;  // the postal card's amount warning, unanswered
        bank::WriteBankCardFile(*format, input, prompts, args[2]);
    } catch (const slp::Error& e) {
        return fail(u"错误号:"_s + QString::number(e.number()) + u' ' + e.description());
    }
    return 0;
}
