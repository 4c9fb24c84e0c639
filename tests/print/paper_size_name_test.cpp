// The names of the paper sizes, exactly as the status bar shows them, and Qt's sizes mapped to the codes.
#include "print/paper_size_name.h"

#include <gtest/gtest.h>

#include <QSizeF>
#include <QStringList>

#include "print/printer.h"
#include "qstring_print.h"

using namespace Qt::StringLiterals;
using namespace slp::print;

TEST(PrintPaperSizeName, TheNamesKeepTheirSpacing) {
    EXPECT_EQ(PaperSizeName(9, 11906, 16838), u" A4, 210 x 297 毫米."_s);
    EXPECT_EQ(PaperSizeName(1, 12240, 15840), u"信笺, 8 1/2 x 11 英寸."_s);
    EXPECT_EQ(PaperSizeName(6, 0, 0), u"声明书,5 1/2 x 8 1/2 英寸."_s);
    EXPECT_EQ(PaperSizeName(18, 0, 0), u"便条，8 1/2 x 11 英寸"_s);
    EXPECT_EQ(PaperSizeName(19, 0, 0), u" #9 信封， 3 7/8 x 8 7/8 英寸"_s);
    EXPECT_EQ(PaperSizeName(32, 0, 0), u"C65 型信封，114 x 229 毫米"_s);
    EXPECT_EQ(PaperSizeName(41, 0, 0), u"德国法律复写簿， 8 1/2 x 13 英寸"_s);
    EXPECT_EQ(PaperSizeName(54, 0, 0), u"信笺,    11 x  8 1/2英寸"_s);
}

TEST(PrintPaperSizeName, EveryKnownCodeHasItsOwnNameAndOthersAreUndefined) {
    QStringList names;
    for (int code = 1; code <= 41; ++code) names << PaperSizeName(code, 0, 0);
    names << PaperSizeName(54, 0, 0);
    EXPECT_FALSE(names.contains(u"未定义"_s));
    names.removeDuplicates();
    EXPECT_EQ(names.size(), 42);
    for (int code : {0, -1, 42, 53, 55, 255, 257}) EXPECT_EQ(PaperSizeName(code, 0, 0), u"未定义"_s) << code;
}

TEST(PrintPaperSizeName, UserDefinedSizeInInches) {
    EXPECT_EQ(PaperSizeName(256, 12240, 15840), u"用户定义,  8.5 x 11.英寸"_s);
    EXPECT_EQ(PaperSizeName(256, 720, 14400), u"用户定义,  .5 x 10.英寸"_s);
    EXPECT_EQ(PaperSizeName(256, 11906, 16838), u"用户定义,  8.27 x 11.69英寸"_s);
}

TEST(PrintPaperSizeName, QtPageSizesMapToTheCodes) {
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QPageSize::A4)), 9);
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QPageSize::Letter)), 1);
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QPageSize::A3)), 8);
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QPageSize::A5)), 11);
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QPageSize::Legal)), 5);
    EXPECT_EQ(paperSizeCodeOf(QPageSize(QSizeF(100, 150), QPageSize::Millimeter)), kUserDefinedPaper);
}
