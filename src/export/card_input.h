#pragma once
// What a bank payroll-card file is made of: the four fields of the card export window and the rows of
// its card grid, as the clerk sees them. The window and the command line fill the same record.
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace slp::bank {

// One data row of the card grid. Its "序号" is its position in the grid, counted from 1.
struct CardRow {
    QString name;        // "姓名", as shown
    QString cardNumber;  // "卡号", as stored (not trimmed)
    QString amount;      // "金额", as shown (two decimals)
};

struct CardFileInput {
    QString unitCode;     // "单位代码：" field; the post-office number for the postal savings card
    QString creditDate;   // "进卡日期：" field
    QString headCount;    // "入卡人数：" field
    QString totalAmount;  // "入卡金额：" field
    QString unitName;     // the employer unit's name given by the host
    QList<CardRow> rows;  // in grid order
};

// The card products that have a file layout. "中国银行长城卡" has none.
enum class CardFormat { Mudan, Pujiang, Baiyulan, Long, PostSavings };

// The format of a card type as the window's list names it ("中国工商银行牡丹卡", ...); nullopt for
// "中国银行长城卡" and for any other text.
std::optional<CardFormat> cardFormatForType(QStringView cardType);

}  // namespace slp::bank
