// Strips on the recording printer: where every caption and value goes, which columns are printed, the
// rules, the caption fitting of the last strip, and the pages and jobs of a range.
#include <gtest/gtest.h>

#include "data/wage_grid.h"
#include "print/reports/strip_report.h"
#include "recording_printer.h"

using namespace Qt::StringLiterals;
using slp::print::RecordedCall;
using strip_test::RecordingPrinter;

namespace {

// The recording metrics at a font size: a full-width character and a line are size x 20 twips.
float full(float size) {
    return size * 20;
}

// Caption row, three employees and a totals row. Column 2 is 180 twips wide (left out), column 1 is
// 181 (printed although the page renderers would skip it), column 4's caption is far wider than it.
slp::data::WageGrid stripGrid() {
    slp::data::WageGrid g(5, 5);
    const QStringList captions{u"序号"_s, u"姓名"_s, u"隐"_s, u"基本工资"_s, u"很长很长的项目名称"_s};
    const std::vector<int> widths{600, 181, 180, 1000, 800};
    for (int c = 0; c < 5; ++c) {
        g.setText(0, c, captions[c]);
        g.setColWidth(c, widths[size_t(c)]);
    }
    const QStringList names{u"张三"_s, u"李四"_s, u"王五"_s};
    for (int r = 1; r <= 3; ++r) {
        g.setText(r, 0, QString::number(r));
        g.setText(r, 1, names[r - 1]);
        g.setText(r, 2, u"x"_s);
        g.setText(r, 3, QString::number(1000 + r) + u".00"_s);
        g.setText(r, 4, QString::number(r * 10));
    }
    g.setText(4, 0, u"合计"_s);
    return g;
}

// The drawing calls of page `page` (from 0) of the printer's log: a page ends where it was sent.
std::vector<RecordedCall> pageCalls(RecordingPrinter& printer, int page) {
    std::vector<size_t> breaks{0};
    for (const auto& l : printer.log) {
        if (l.event == RecordingPrinter::Event::Page) breaks.push_back(l.callsBefore);
    }
    const auto& calls = printer.recording().calls();
    return std::vector<RecordedCall>(calls.begin() + long(breaks.at(size_t(page))),
                                     calls.begin() + long(breaks.at(size_t(page) + 1)));
}

std::vector<RecordedCall> textsOf(const std::vector<RecordedCall>& calls) {
    std::vector<RecordedCall> out;
    for (const auto& c : calls) {
        if (c.kind == RecordedCall::Text) out.push_back(c);
    }
    return out;
}

const RecordedCall* findText(const std::vector<RecordedCall>& calls, const QString& text) {
    for (const auto& c : calls) {
        if (c.kind == RecordedCall::Text && c.text == text) return &c;
    }
    return nullptr;
}

TEST(StripPrint, CaptionsAndValuesAreRightAlignedOnTwoEvenlySpacedLines) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    const float size = 9;
    ASSERT_EQ(slp::strips::PrintGridStrips(printer, grid, 1, 2, false, 30, 60, size), 2);
    const float lineHeight = full(size);
    const float gap = (720 - 2 * lineHeight) / 3;
    const auto page = pageCalls(printer, 0);

    // Column 0 at x 0, column 1 at 600, column 2 left out, column 3 at 781.
    const struct {
        QString caption;
        QString value;
        float left;
        float width;
    } expected[] = {{u"序号"_s, u"1"_s, 0, 600},
                    {u"姓名"_s, u"张三"_s, 600, 181},
                    {u"基本工资"_s, u"1001.00"_s, 781, 1000}};
    for (const auto& e : expected) {
        const RecordedCall* caption = findText(page, e.caption);
        ASSERT_NE(caption, nullptr) << e.caption.toStdString();
        const float captionWidth = float(e.caption.size()) * full(size);
        EXPECT_FLOAT_EQ(caption->x, 30 + e.left + e.width - captionWidth - 60) << e.caption.toStdString();
        EXPECT_FLOAT_EQ(caption->y, 60 + gap);
        const RecordedCall* value = findText(page, e.value);
        ASSERT_NE(value, nullptr) << e.value.toStdString();
        EXPECT_FLOAT_EQ(value->y, 60 + lineHeight + 2 * gap);
        EXPECT_FLOAT_EQ(value->x + printer.recording().TextWidth(e.value), 30 + e.left + e.width - 60);
    }
    // Not the last strip: the wide caption stays on one line, right-aligned (it protrudes to the left).
    const RecordedCall* wide = findText(page, u"很长很长的项目名称"_s);
    ASSERT_NE(wide, nullptr);
    EXPECT_FLOAT_EQ(wide->x, 30 + 1781 + 800 - 9 * full(size) - 60);
    EXPECT_FLOAT_EQ(wide->y, 60 + gap);
    // The 180-twip column prints neither caption nor value.
    EXPECT_EQ(findText(page, u"隐"_s), nullptr);
    EXPECT_EQ(findText(page, u"x"_s), nullptr);
    EXPECT_TRUE(printer.recording().lines().empty());
}

TEST(StripPrint, TheLastStripSplitsACaptionTooWideForItsColumn) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    slp::strips::PrintGridStrips(printer, grid, 1, 2, false, 30, 60, 9);
    const auto last = textsOf(pageCalls(printer, 1));
    const float lineHeight = full(9);
    const float gap = (720 - 2 * lineHeight) / 3;
    const float rightAligned = 30 + 1781 + 800 - 9 * full(9) - 60;
    // Four characters fit 800 twips; nine characters make three lines, raised by half a line and each
    // centred in the column's width from the right-aligned position.
    const QStringList parts{u"很长很长"_s, u"的项目名"_s, u"称"_s};
    for (int m = 0; m < parts.size(); ++m) {
        const RecordedCall* part = findText(last, parts[m]);
        ASSERT_NE(part, nullptr) << parts[m].toStdString();
        EXPECT_FLOAT_EQ(part->x, rightAligned + (800 - float(parts[m].size()) * full(9)) / 2);
        EXPECT_FLOAT_EQ(part->y, 60 + gap - lineHeight / 2 + float(m) * lineHeight);
    }
    EXPECT_EQ(findText(last, u"很长很长的项目名称"_s), nullptr);
    // "姓名" is more than 100 twips wider than its 181-twip column: one character a line.
    EXPECT_EQ(findText(last, u"姓名"_s), nullptr);
    const float nameX = 30 + 600 + 181 - 2 * full(9) - 60;
    const RecordedCall* surname = findText(last, u"姓"_s);
    const RecordedCall* given = findText(last, u"名"_s);
    ASSERT_NE(surname, nullptr);
    ASSERT_NE(given, nullptr);
    EXPECT_FLOAT_EQ(surname->x, nameX + (181 - full(9)) / 2);
    EXPECT_FLOAT_EQ(surname->y, 60 + gap - lineHeight / 2);
    EXPECT_FLOAT_EQ(given->y, 60 + gap + lineHeight / 2);
    // Captions that fit stay where the other strips have them.
    const RecordedCall* basic = findText(last, u"基本工资"_s);
    ASSERT_NE(basic, nullptr);
    EXPECT_FLOAT_EQ(basic->y, 60 + gap);
    ASSERT_NE(findText(last, u"李四"_s), nullptr);
}

TEST(StripPrint, RulesRunAlongTheTopOfEveryPrintedCellOnRequest) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    slp::strips::PrintGridStrips(printer, grid, 3, 3, true, 30, 60, 9);
    const auto lines = printer.recording().lines();
    ASSERT_EQ(lines.size(), 4u);  // four printed columns, the 180-twip one has none
    const float lefts[] = {0, 600, 781, 1781};
    const float widths[] = {600, 181, 1000, 800};
    for (size_t i = 0; i < lines.size(); ++i) {
        EXPECT_FLOAT_EQ(lines[i].x, 30 + lefts[i]);
        EXPECT_FLOAT_EQ(lines[i].x2, 30 + lefts[i] + widths[i]);
        EXPECT_FLOAT_EQ(lines[i].y, 60);
        EXPECT_FLOAT_EQ(lines[i].y2, 60);
    }
}

TEST(StripPrint, ARangeIsOneJobOfOnePageAStripOnAStripSizedPage) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    EXPECT_EQ(slp::strips::PrintGridStrips(printer, grid, 1, 3, false, 30, 60, 9), 3);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::PageLayout), 1);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::Page), 3);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::EndDoc), 1);
    EXPECT_EQ(printer.log.back().event, RecordingPrinter::Event::EndDoc);
    EXPECT_FLOAT_EQ(printer.paperWidth(), 21800);
    EXPECT_FLOAT_EQ(printer.paperHeight(), 720);
    for (int page = 0; page < 3; ++page) {
        const auto texts = textsOf(pageCalls(printer, page));
        // Four captions and four values; on the last page two captions are split into 2 and 3 lines.
        ASSERT_EQ(texts.size(), page < 2 ? 8u : 11u) << page;
        EXPECT_EQ(texts[1].text, QString::number(page + 1));
    }

    // Rows 3 to 3: one strip, one job, no page break.
    RecordingPrinter one;
    EXPECT_EQ(slp::strips::PrintGridStrips(one, grid, 3, 3, false, 30, 60, 9), 1);
    EXPECT_EQ(one.count(RecordingPrinter::Event::Page), 1);
    EXPECT_EQ(one.count(RecordingPrinter::Event::EndDoc), 1);
    ASSERT_NE(findText(one.recording().calls(), u"王五"_s), nullptr);
}

TEST(StripPrint, TheFontSizeSetsTheGapsAndWidths) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    slp::strips::PrintGridStrips(printer, grid, 1, 1, false, 100, 0, 12);
    const float gap = (720 - 2 * full(12)) / 3;
    const auto page = pageCalls(printer, 0);
    const RecordedCall* caption = findText(page, u"序号"_s);
    ASSERT_NE(caption, nullptr);
    EXPECT_FLOAT_EQ(caption->fontSize, 12);
    EXPECT_FLOAT_EQ(caption->x, 100 + 600 - 2 * full(12) - 60);
    EXPECT_FLOAT_EQ(caption->y, gap);
    const RecordedCall* value = findText(page, u"张三"_s);
    ASSERT_NE(value, nullptr);
    EXPECT_FLOAT_EQ(value->y, full(12) + 2 * gap);
}

TEST(StripPrint, NothingIsPrintedForAnEmptyRangeOrWithoutAPrintableColumn) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    EXPECT_EQ(slp::strips::PrintGridStrips(printer, grid, 3, 2, true, 30, 60, 9), 0);
    EXPECT_TRUE(printer.log.empty());
    EXPECT_TRUE(printer.recording().calls().empty());

    slp::data::WageGrid narrow(3, 2);
    narrow.setColWidth(0, 180);
    narrow.setColWidth(1, 0);
    EXPECT_EQ(slp::strips::PrintGridStrips(printer, narrow, 1, 2, true, 30, 60, 9), 0);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::EndDoc), 0);
}

TEST(StripPrint, RowsBeyondTheGridPrintEmptyValuesUnderTheCaptions) {
    RecordingPrinter printer;
    const auto grid = stripGrid();
    EXPECT_EQ(slp::strips::PrintGridStrips(printer, grid, 5, 5, false, 30, 60, 9), 1);
    const auto texts = textsOf(printer.recording().calls());
    ASSERT_EQ(texts.size(), 11u);
    EXPECT_EQ(texts[0].text, u"序号"_s);
    EXPECT_TRUE(texts[1].text.isEmpty());
    EXPECT_TRUE(texts.back().text.isEmpty());
}

TEST(StripPrint, AFailureWhileDrawingDropsTheJob) {
    RecordingPrinter printer;
    printer.recording().failOn = u"李四"_s;
    const auto grid = stripGrid();
    EXPECT_THROW(slp::strips::PrintGridStrips(printer, grid, 1, 3, false, 30, 60, 9), slp::Error);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::AbortDoc), 1);
    EXPECT_EQ(printer.count(RecordingPrinter::Event::EndDoc), 0);
}

}  // namespace
