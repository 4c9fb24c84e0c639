#include "export/bank_card_writers.h"

using namespace Qt::StringLiterals;

namespace slp::bank {

std::optional<CardFormat> cardFormatForType(QStringView cardType) {
    if (cardType == u"中国工商银行牡丹卡") return CardFormat::Mudan;
    if (cardType == u"中国工商银行浦江卡") return CardFormat::Pujiang;
    if (cardType == u"中国农业银行白玉兰卡") return CardFormat::Baiyulan;
    if (cardType == u"中国建设银行龙卡") return CardFormat::Long;
    if (cardType == u"中国人民邮政储蓄卡") return CardFormat::PostSavings;
    return std::nullopt;
}

void WriteBankCardFile(CardFormat format, const CardFileInput& input, Prompts& prompts, const QString& path) {
    switch (format) {
        case CardFormat::Mudan:
            WriteMudanCardFile(input, path);
            return;
        case CardFormat::Pujiang:
            WritePujiangCardFile(input, path);
            return;
        case CardFormat::Baiyulan:
            WriteBaiyulanCardFile(input, path);
            return;
        case CardFormat::Long:
            WriteLongCardFile(input, path);
            return;
        case CardFormat::PostSavings:
            WritePostSavingsCardFile(input, prompts, path);
            return;
    }
}

}  // namespace slp::bank
