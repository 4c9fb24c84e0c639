#pragma once
// What a clerk should look at before a card file goes to the bank. The checks change no byte of any file;
// the window and the command line show the texts and let the clerk decide.
#include <QStringList>

#include "export/card_input.h"

namespace slp::bank {

// Warnings for the input of one format, one text each, in this order:
// - 入卡人数 / 入卡金额 (formats with a header line) that do not match the grid's row count / total,
//   naming both figures, or that are no number at all;
// - a 进卡日期 (formats with a header line) that is no date and will be written as typed;
// - amounts that are no number (the writer will refuse them);
// - card numbers that are not all digits, as the format writes them;
// - 龙卡: names holding a comma, the format's separator;
// - 牡丹卡 and 浦江卡: an empty 单位代码, written as blanks in the header.
// An empty list means nothing caught the eye.
QStringList CheckCardFileInput(const CardFileInput& input, CardFormat format);

// The rows whose card number the format's card field would cut, each described with its length
// ("第3行（王 五）的卡号“6217…”（19位）"): a cut number sends the wages to another account. Fields:
// 牡丹卡 and 浦江卡 12 characters (a 16-character number goes in the bank's own 12-character form,
// which is no cut), 白玉兰卡 18, 邮政卡 8; the 龙卡 writes a longer number whole.
QStringList CutCardNumbers(const CardFileInput& input, CardFormat format);

// Throws the error naming those rows (the first ten and how many in all) when there are any: the file
// is refused before a byte is written.
void RefuseCutCardNumbers(const CardFileInput& input, CardFormat format);

}  // namespace slp::bank
