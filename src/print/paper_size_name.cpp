#include "print/paper_size_name.h"

#include "basic/conversions.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {

struct PaperName {
    int code;
    const char16_t* name;
};

// The names keep their uneven spacing and punctuation exactly as the clerk has always seen them.
constexpr PaperName kPaperNames[] = {
    {1, u"信笺, 8 1/2 x 11 英寸."},
    {2, u"A611 小型信笺, 8 1/2 x 11 英寸."},
    {3, u"小型报, 11 x 17 英寸."},
    {4, u"分类帐, 17 x 11 英寸."},
    {5, u"法律文件, 8 1/2 x 14 英寸."},
    {6, u"声明书,5 1/2 x 8 1/2 英寸."},
    {7, u"行政文件,7 1/2 x 10 1/2 英寸."},
    {8, u"A3, 297 x 420 毫米."},
    {9, u" A4, 210 x 297 毫米."},
    {10, u"A4小号, 210 x 297 毫米."},
    {11, u"A5, 148 x 210 毫米."},
    {12, u"B4, 250 x 354 毫米."},
    {13, u"B5, 182 x 257 毫米."},
    {14, u"对开本, 8 1/2 x 13 英寸."},
    {15, u"四开本, 215 x 275 毫米."},
    {16, u"10 x 14 英寸."},
    {17, u"11 x 17 英寸"},
    {18, u"便条，8 1/2 x 11 英寸"},
    {19, u" #9 信封， 3 7/8 x 8 7/8 英寸"},
    {20, u"#10 信封， 4 1/8 x 9 1/2 英寸"},
    {21, u"#11 信封， 4 1/2 x 10 3/8 英寸"},
    {22, u"#12 信封， 4 1/2 x 11 英寸"},
    {23, u"#14 信封， 5 x 11 1/2 英寸"},
    {24, u"C 尺寸工作单"},
    {25, u"D 尺寸工作单"},
    {26, u"E 尺寸工作单"},
    {27, u"DL 型信封， 110 x 220 毫米"},
    {28, u"C3 型信封， 324 x 458 毫米"},
    {29, u"C4 型信封， 229 x 324 毫米"},
    {30, u"C5 型信封， 162 x 229 毫米"},
    {31, u"C6 型信封， 114 x 162 毫米"},
    {32, u"C65 型信封，114 x 229 毫米"},
    {33, u"B4 型信封， 250 x 353 毫米"},
    {34, u"B5 型信封，176 x 250 毫米"},
    {35, u"B6 型信封， 176 x 125 毫米"},
    {36, u"信封， 110 x 230 毫米"},
    {37, u"信封大王， 3 7/8 x 7 1/2 英寸"},
    {38, u"信封， 3 5/8 x 6 1/2 英寸"},
    {39, u"U.S. 标准复写簿， 14 7/8 x 11 英寸"},
    {40, u"德国标准复写簿， 8 1/2 x 12 英寸"},
    {41, u"德国法律复写簿， 8 1/2 x 13 英寸"},
    {54, u"信笺,    11 x  8 1/2英寸"},
};

}  // namespace

QString PaperSizeName(int code, float paperWidth, float paperHeight) {
    if (code == kUserDefinedPaper) {
        return u"用户定义,  "_s + formatNumber(double(paperWidth) / 1440, u"#.##") + u" x "_s +
               formatNumber(double(paperHeight) / 1440, u"#.##") + u"英寸"_s;
    }
    for (const PaperName& p : kPaperNames) {
        if (p.code == code) return QString::fromUtf16(p.name);
    }
    return u"未定义"_s;
}

int paperSizeCodeOf(const QPageSize& size) {
    const int code = size.isValid() ? size.windowsId() : 0;
    return code > 0 ? code : kUserDefinedPaper;
}

}  // namespace slp::print
