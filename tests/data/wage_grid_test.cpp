// WageGrid: cell texts, shape changes, column properties, the cost of a cell, and the model over it.
#include "data/wage_grid.h"

#include <gtest/gtest.h>

#include "basic/error.h"
#include "data/wage_grid_model.h"

namespace slp::data {
namespace {

using namespace Qt::StringLiterals;

QString cellText(int r, int c) {
    return u"行"_s + QString::number(r) + u"列"_s + QString::number(c);
}

void fill(WageGrid& g) {
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) g.setText(r, c, cellText(r, c));
}

TEST(DataWageGrid, TextsAreStoredReadAndReplaced) {
    WageGrid g(3, 4);
    EXPECT_EQ(g.rows(), 3);
    EXPECT_EQ(g.cols(), 4);
    EXPECT_EQ(g.text(2, 3), QString());
    fill(g);
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c) EXPECT_EQ(g.text(r, c), cellText(r, c));
    g.setText(1, 1, u"短"_s);                      // shorter: written in place
    g.setText(1, 2, u"一段比原来长得多的文字"_s);  // longer: moved
    g.setText(0, 0, QString());
    EXPECT_EQ(g.text(1, 1), u"短"_s);
    EXPECT_EQ(g.textView(1, 2), u"一段比原来长得多的文字"_s);
    EXPECT_EQ(g.text(0, 0), QString());
    EXPECT_EQ(g.text(1, 0), cellText(1, 0));  // neighbours untouched
    EXPECT_EQ(g.text(1, 3), cellText(1, 3));
    // A text taken from the grid itself survives the buffer growing under it.
    WageGrid chain(1, 3000);
    chain.setText(0, 0, u"一段比原来长得多的文字"_s);
    for (int c = 1; c < chain.cols(); ++c) chain.setText(0, c, chain.textView(0, c - 1));
    for (int c = 0; c < chain.cols(); ++c) ASSERT_EQ(chain.text(0, c), u"一段比原来长得多的文字"_s) << c;
}

TEST(DataWageGrid, CellsOutsideTheGridAreRefused) {
    WageGrid g(2, 2);
    EXPECT_THROW(g.text(2, 0), slp::Error);
    EXPECT_THROW(g.setText(0, -1, u"x"_s), slp::Error);
    EXPECT_THROW(g.colWidth(2), slp::Error);
    EXPECT_THROW(g.rowHeight(-1), slp::Error);
    EXPECT_THROW(g.resize(-1, 2), slp::Error);
    WageGrid empty;
    EXPECT_THROW(empty.text(0, 0), slp::Error);
}

TEST(DataWageGrid, ResizeKeepsTheCommonCellsAndClearEmptiesThem) {
    WageGrid g(4, 3);
    fill(g);
    g.setColWidth(1, 1500);
    g.setColAlignment(2, align::RightCenter);
    g.setRowHeight(0, 500);
    g.setRowHeight(3, 400);
    g.resize(6, 2);
    EXPECT_EQ(g.text(3, 1), cellText(3, 1));
    EXPECT_EQ(g.text(5, 1), QString());
    EXPECT_EQ(g.colWidth(1), 1500);
    g.resize(3, 5);
    EXPECT_EQ(g.text(2, 1), cellText(2, 1));
    EXPECT_EQ(g.text(2, 2), QString());  // the column dropped before comes back empty
    EXPECT_EQ(g.colWidth(4), WageGrid::kDefaultColWidth);
    EXPECT_EQ(g.colAlignment(2), align::General);
    EXPECT_EQ(g.rowHeight(0), 500);
    g.resize(4, 5);
    EXPECT_EQ(g.rowHeight(3), WageGrid::kAutoRowHeight);  // row 3 went away with its height

    g.setCaptionMarker(1, true);
    g.clear();
    EXPECT_EQ(g.rows(), 4);
    EXPECT_EQ(g.text(0, 0), QString());
    EXPECT_FALSE(g.captionMarker(1));
    EXPECT_EQ(g.colWidth(1), 1500);
    g.setText(0, 0, u"序号"_s);
    EXPECT_EQ(g.text(0, 0), u"序号"_s);
}

TEST(DataWageGrid, ColumnPropertiesAndFont) {
    WageGrid g(2, 4);
    g.setFixedRows(1);
    g.setFixedCols(3);
    EXPECT_EQ(g.fixedRows(), 1);
    EXPECT_EQ(g.fixedCols(), 3);
    g.setCaptionAlignment(0, align::CenterCenter);
    g.setCaptionAlignment(3, align::RightCenter);
    EXPECT_EQ(g.captionAlignment(0), align::CenterCenter);
    EXPECT_EQ(g.captionAlignment(3), align::RightCenter);
    EXPECT_EQ(g.captionAlignment(1), align::General);
    g.toggleCaptionMarker(2);
    EXPECT_TRUE(g.captionMarker(2));
    g.toggleCaptionMarker(2);
    EXPECT_FALSE(g.captionMarker(2));
    EXPECT_EQ(g.fontName(), u"宋体"_s);
    EXPECT_FLOAT_EQ(g.fontSize(), 9);
    g.setFontSize(12.5f);
    EXPECT_FLOAT_EQ(g.fontSize(), 12.5f);
}

TEST(DataWageGrid, ACellOfEightChineseCharactersCostsUnderFortyBytes) {
    const QString eight = u"基本工资岗位津贴"_s;
    ASSERT_EQ(eight.size(), 8);
    WageGrid g(20001, 31);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) g.setText(r, c, eight);
    // 8 bytes of offset and length plus 16 of text, with the buffer's growth reserve on top.
    EXPECT_LT(g.bytesPerCell(), 40.0);
    g.squeeze();
    EXPECT_LT(g.bytesPerCell(), 24.5);
    EXPECT_GE(g.bytesPerCell(), 24.0);
    EXPECT_EQ(g.text(20000, 30), eight);
}

// Plain decimal numbers are kept as numbers and give back exactly the text they were set from; every
// other text (leading zeros of 工号, blanks, signs and points a number does not write) stays as it is.
TEST(DataWageGrid, NumbersAreKeptAsNumbersAndReadBackAsTheirTexts) {
    const QString texts[] = {
        u"0"_s,
        u"-0"_s,
        u"0.00"_s,
        u"-0.00"_s,
        u"1740.00"_s,
        u"0.05"_s,
        u"-12.5"_s,
        u"0.0000001"_s,
        u"99999999999999999"_s,
        u"9999999999.9999999"_s,
        u"0029"_s,
        u"0000032"_s,
        u"1."_s,
        u".5"_s,
        u"+1"_s,
        u"1e5"_s,
        u" 12"_s,
        u"12 "_s,
        u"1.23456789"_s,
        u"123456789012345678"_s,
        u"-"_s,
        u"--1"_s,
        u"1.2.3"_s,
        u"１２"_s,
        u"00.5"_s,
        u"王 芳"_s,
        u""_s,
    };
    const qsizetype n = std::size(texts);
    WageGrid g(2, int(n));
    for (qsizetype i = 0; i < n; ++i) g.setText(0, int(i), texts[i]);
    for (qsizetype i = 0; i < n; ++i) {
        EXPECT_EQ(g.text(0, int(i)), texts[i]);
        EXPECT_EQ(g.textView(0, int(i)).toString(), texts[i]);
    }
    // A number written over a text and a text over a number; eight numbers' views at once stay valid.
    g.setText(1, 0, u"长的文字长的文字"_s);
    g.setText(1, 0, u"12.34"_s);
    g.setText(1, 1, u"56.78"_s);
    g.setText(1, 1, u"工号0001"_s);
    EXPECT_EQ(g.text(1, 0), u"12.34"_s);
    EXPECT_EQ(g.text(1, 1), u"工号0001"_s);
    QStringView views[8];
    for (int i = 0; i < 8; ++i) views[i] = g.textView(0, i);
    for (int i = 0; i < 8; ++i) EXPECT_EQ(views[i].toString(), texts[i]);
    // A copy in place: the number's view handed back to the grid.
    g.setText(1, 2, g.textView(0, 4));
    EXPECT_EQ(g.text(1, 2), u"1740.00"_s);
}

TEST(DataWageGrid, AGridOfAmountsTakesNoCharacterPool) {
    WageGrid g(20001, 30);
    for (int r = 0; r < g.rows(); ++r)
        for (int c = 0; c < g.cols(); ++c) g.setText(r, c, QString::number(r * 7 + c) + u".50"_s);
    g.squeeze();
    EXPECT_LT(g.bytesPerCell(), 8.1);
    EXPECT_EQ(g.text(20000, 29), u"140029.50"_s);
}

TEST(DataWageGrid, RewritingCellsDoesNotGrowWithoutBound) {
    WageGrid g(100, 10);
    fill(g);
    // Each pass writes longer texts, which move; the old places are squeezed out as they pile up.
    for (int pass = 1; pass <= 60; ++pass) {
        const QString tail = QString(pass, u'长');
        for (int r = 0; r < g.rows(); ++r)
            for (int c = 0; c < g.cols(); ++c) g.setText(r, c, cellText(r, c) + tail);
    }
    const QString last = QString(60, u'长');
    EXPECT_EQ(g.text(0, 0), cellText(0, 0) + last);
    EXPECT_EQ(g.text(99, 9), cellText(99, 9) + last);
    const double live = 1000.0 * (cellText(99, 9).size() + 60) * 2 + 1000.0 * 8;
    EXPECT_LT(double(g.storageBytes()), live * 4);  // without squeezing it would be 30 times
}

TEST(DataWageGridModel, ServesTextsAlignmentsAndMarkers) {
    WageGridModel model;
    int resets = 0;
    int changes = 0;
    int layouts = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    QObject::connect(&model, &QAbstractItemModel::dataChanged, [&] { ++changes; });
    QObject::connect(&model, &WageGridModel::layoutPropertiesChanged, [&] { ++layouts; });
    model.update([](WageGrid& g) {
        g.resize(3, 3);
        g.setFixedRows(1);
        g.setText(0, 0, u"序号"_s);
        g.setText(0, 2, u"基本工资"_s);
        g.setText(1, 1, u"王 芳"_s);
        g.setText(1, 2, u"1200.50"_s);
        g.setCaptionAlignment(2, align::RightCenter);
    });
    EXPECT_EQ(resets, 1);
    EXPECT_EQ(layouts, 1);
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(model.columnCount(), 3);
    EXPECT_EQ(model.data(model.index(1, 1)).toString(), u"王 芳"_s);
    // General alignment: texts left, numbers right; captions by their own code.
    const auto alignment = [&](int r, int c) {
        return Qt::Alignment(model.data(model.index(r, c), Qt::TextAlignmentRole).toInt());
    };
    EXPECT_TRUE(alignment(1, 1) & Qt::AlignLeft);
    EXPECT_TRUE(alignment(1, 2) & Qt::AlignRight);
    EXPECT_EQ(alignment(0, 2), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(model.data(model.index(0, 2), WageGridModel::AlignmentCodeRole).toInt(), align::RightCenter);

    model.setText(2, 0, u"合计"_s);
    model.setCaptionMarker(1, true);
    EXPECT_EQ(changes, 2);
    EXPECT_TRUE(model.data(model.index(0, 1), WageGridModel::CaptionMarkerRole).toBool());
    EXPECT_FALSE(model.data(model.index(1, 1), WageGridModel::CaptionMarkerRole).isValid());
    model.setColWidth(2, 1440);
    EXPECT_EQ(model.headerData(2, Qt::Horizontal, WageGridModel::ColumnWidthRole).toInt(), 1440);
    EXPECT_EQ(model.grid().colWidth(2), 1440);
    EXPECT_EQ(model.grid().text(2, 0), u"合计"_s);
    EXPECT_FALSE(model.data(model.index(5, 0)).isValid());
}

TEST(DataWageGridModel, AlignmentCodesMapToQt) {
    EXPECT_EQ(qtAlignment(align::LeftTop, u"x"), Qt::AlignLeft | Qt::AlignTop);
    EXPECT_EQ(qtAlignment(align::CenterCenter, u"x"), Qt::AlignCenter);
    EXPECT_EQ(qtAlignment(align::RightBottom, u"x"), Qt::AlignRight | Qt::AlignBottom);
    EXPECT_EQ(qtAlignment(align::General, u" -12.5 "), Qt::AlignRight | Qt::AlignVCenter);
    EXPECT_EQ(qtAlignment(align::General, u"共3人"), Qt::AlignLeft | Qt::AlignVCenter);
}

}  // namespace
}  // namespace slp::data
