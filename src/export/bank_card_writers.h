#pragma once
// The writers of the bank payroll-card files. Each builds its whole file in memory first, so an input
// that cannot be written (a name GBK cannot encode, a field too long for its place, an amount that is no
// number) raises slp::Error before a single byte reaches the device or the disk.
//
// The path overloads write through SaveCardFile: the file appears complete or not at all, and an
// existing file of that name is replaced only by a complete new one.
#include <QByteArray>
#include <QIODevice>
#include <QString>

#include "basic/prompts.h"
#include "export/card_input.h"

namespace slp::bank {

// 中国工商银行牡丹卡 and 中国工商银行浦江卡: the same layout, two operations.
QByteArray MudanCardBytes(const CardFileInput& input);
void WriteMudanCardFile(const CardFileInput& input, QIODevice& out);
void WriteMudanCardFile(const CardFileInput& input, const QString& path);
QByteArray PujiangCardBytes(const CardFileInput& input);
void WritePujiangCardFile(const CardFileInput& input, QIODevice& out);
void WritePujiangCardFile(const CardFileInput& input, const QString& path);

// 中国农业银行白玉兰卡
QByteArray BaiyulanCardBytes(const CardFileInput& input);
void WriteBaiyulanCardFile(const CardFileInput& input, QIODevice& out);
void WriteBaiyulanCardFile(const CardFileInput& input, const QString& path);

// 中国建设银行龙卡
QByteArray LongCardBytes(const CardFileInput& input);
void WriteLongCardFile(const CardFileInput& input, QIODevice& out);
void WriteLongCardFile(const CardFileInput& input, const QString& path);

// 中国人民邮政储蓄卡. An amount of more than 12 digits of fen is shown to the clerk through `prompts`
// (title "信息") and then written whole.
QByteArray PostSavingsCardBytes(const CardFileInput& input, Prompts& prompts);
void WritePostSavingsCardFile(const CardFileInput& input, Prompts& prompts, QIODevice& out);
void WritePostSavingsCardFile(const CardFileInput& input, Prompts& prompts, const QString& path);

// The writer of `format` to `path`; `prompts` serves the postal card's amount warning.
void WriteBankCardFile(CardFormat format, const CardFileInput& input, Prompts& prompts, const QString& path);

}  // namespace slp::bank
