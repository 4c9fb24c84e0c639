// What the wage windows share: the print font size menu, the resizing rule and the screen placement,
// error reports, caption markers and the width rule on a model.
#include <gtest/gtest.h>

#include "app/shared/error_report.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/grid_widths.h"
#include "app/shared/window_geometry.h"
#include "basic/error.h"
#include "basic/scripted_prompts.h"
#include "data/database_error.h"
#include "data/wage_grid_model.h"
#include "ui/qt_prompts.h"
#include "windows/shared/caption_markers.h"

using namespace Qt::StringLiterals;
using namespace slp::windows;

namespace {

TEST(FontSizeMenu, AnswersFromFourToSeventeenAreTakenHalvesToEven) {
    EXPECT_EQ(acceptPrintFontSize(u"17"), std::optional<int16_t>(17));
    EXPECT_EQ(acceptPrintFontSize(u"4"), std::optional<int16_t>(4));
    EXPECT_EQ(acceptPrintFontSize(u"4.5"), std::optional<int16_t>(4));
    EXPECT_EQ(acceptPrintFontSize(u"16.5"), std::optional<int16_t>(16));
    EXPECT_EQ(acceptPrintFontSize(u"12号"), std::optional<int16_t>(12));
    for (const QString& refused : {u"17.5"_s, u"3.9"_s, u""_s, u"abc"_s, u"-9"_s, u"1e400"_s}) {
        EXPECT_FALSE(acceptPrintFontSize(refused).has_value()) << refused.toStdString();
    }
}

TEST(FontSizeMenu, TheQuestionAndCaptionNameTheCurrentSize) {
    EXPECT_EQ(printFontCaption(9), u"打印字体为9号"_s);
    EXPECT_EQ(printFontCaption(12), u"打印字体为12号"_s);
    slp::ScriptedPrompts prompts;
    prompts.answerInput(u"14"_s);
    EXPECT_EQ(askPrintFontSize(prompts, 9), std::optional<int16_t>(14));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"请选择打印字体大小,现在字体为9号"_s);
    EXPECT_EQ(prompts.asked[0].title, u"选择"_s);
    EXPECT_EQ(prompts.asked[0].defaultText, u"9"_s);
    EXPECT_FALSE(askPrintFontSize(prompts, 14).has_value());  // cancelled
    EXPECT_EQ(prompts.asked[1].text, u"请选择打印字体大小,现在字体为14号"_s);
}

TEST(WindowGeometry, TheGridFillsAResizedWindowLessItsMargins) {
    const auto place = gridPlacement(12000, 9000, 300, false);
    ASSERT_TRUE(place);
    EXPECT_EQ(*place, QRect(30, 30, 12000 - 120, 9000 - 300 - 780));
    EXPECT_FALSE(gridPlacement(12000, 9000, 300, true));
    EXPECT_FALSE(gridPlacement(2000, 9000, 300, false));
    EXPECT_TRUE(gridPlacement(2001, 3001, 0, false));
    EXPECT_FALSE(gridPlacement(5000, 3000, 0, false));
}

TEST(WindowGeometry, TwipsAndPixelsConvertAtTheScreensResolution) {
    EXPECT_DOUBLE_EQ(twipsPerPixel(96), 15);
    EXPECT_EQ(pixelsFromTwips(500, 96), 33);
    EXPECT_EQ(pixelsFromTwips(360, 96), 24);
    EXPECT_EQ(twipsFromPixels(24, 96), 360);
    EXPECT_EQ(pixelsFromTwips(1440, 144), 144);
    // At opening: the screen's width, its height less 360 twips.
    EXPECT_EQ(openingWindowRect(QRect(0, 0, 1024, 768), 96), QRect(0, 0, 1024, 768 - 24));
}

TEST(ErrorReport, FaultsBecomeAMessageWithTheirNumberAsTitle) {
    slp::ScriptedPrompts prompts;
    EXPECT_FALSE(
        runReported(prompts, [] { throw slp::data::DatabaseError(3000, u"no such column: 奖金"_s); }));
    EXPECT_TRUE(runReported(prompts, [] {}));
    EXPECT_FALSE(runReported(prompts, [] { throw std::bad_alloc(); }));
    ASSERT_EQ(prompts.asked.size(), 2);
    EXPECT_EQ(prompts.asked[0].text, u"no such column: 奖金"_s);
    EXPECT_EQ(prompts.asked[0].title, u"错误号:3000"_s);
    EXPECT_EQ(prompts.asked[0].icon, slp::MessageIcon::Warning);
    EXPECT_EQ(prompts.asked[1].title, u"错误号:7"_s);
    EXPECT_EQ(errorTitle(484), u"错误号:484"_s);
}

TEST(CaptionMarkers, TogglingMarkingAllAndClearingLastColumnFirst) {
    slp::data::WageGridModel model;
    model.update([](slp::data::WageGrid& g) { g.resize(3, 4); });
    QList<int> changed;
    QObject::connect(&model, &QAbstractItemModel::dataChanged,
                     [&](const QModelIndex& a, const QModelIndex&) { changed << a.column(); });
    toggleCaptionMarker(model, 2);
    EXPECT_TRUE(model.grid().captionMarker(2));
    toggleCaptionMarker(model, 2);
    EXPECT_FALSE(model.grid().captionMarker(2));
    toggleCaptionMarker(model, 9);  // outside the grid: nothing
    markAllCaptions(model);
    for (int c = 0; c < 4; ++c) EXPECT_TRUE(model.grid().captionMarker(c));
    changed.clear();
    clearAllCaptions(model);
    for (int c = 0; c < 4; ++c) EXPECT_FALSE(model.grid().captionMarker(c));
    EXPECT_EQ(changed, (QList<int>{3, 2, 1, 0}));
    EXPECT_FALSE(captionMarkerPicture().isNull());
}

TEST(GridWidths, ThePrintFontSizeWidensEveryColumnAndKeepsTheRows) {
    slp::data::WageCatalogue catalogue;
    catalogue.itemName = {u"姓名"_s, u"实发"_s};
    catalogue.itemFormat = {u"0"_s, u"0.00"_s};
    catalogue.itemWidth = {4, 6};
    catalogue.itemCount = 2;
    slp::data::WageGridModel model;
    model.update([](slp::data::WageGrid& g) {
        g.resize(5, 3);
        g.setText(2, 1, u"张三"_s);
    });
    int resets = 0;
    QObject::connect(&model, &QAbstractItemModel::modelReset, [&] { ++resets; });
    const auto measure = [](const QString&, float size) { return size * 20; };
    const float unit = applyPrintFontSize(model, catalogue, slp::data::employeeTableColumns(3), 12, measure);
    EXPECT_FLOAT_EQ(unit, 240);
    EXPECT_EQ(model.grid().colWidth(0), 720);
    EXPECT_EQ(model.grid().colWidth(1), 960);
    EXPECT_EQ(model.grid().colWidth(2), 1440);
    EXPECT_FLOAT_EQ(model.grid().fontSize(), 12);
    EXPECT_EQ(model.grid().text(2, 1), u"张三"_s);
    EXPECT_EQ(resets, 0);
}

// A box without a title of its own carries the caption of the window it comes from, not the program's
// name; only a box without any window says "Sl_PAYPRN".
TEST(PromptTitles, ABoxWithoutATitleTakesItsWindowsCaption) {
    QWidget window;
    window.setWindowTitle(u"班组签收联"_s);
    QWidget child(&window);
    QWidget untitled;
    EXPECT_EQ(slp::ui::promptTitle(u"错误号:5"_s, &child), u"错误号:5"_s);
    EXPECT_EQ(slp::ui::promptTitle(QString(), &child), u"班组签收联"_s);
    EXPECT_EQ(slp::ui::promptTitle(QString(), &untitled), u"Sl_PAYPRN"_s);
    EXPECT_EQ(slp::ui::promptTitle(QString(), nullptr), u"Sl_PAYPRN"_s);
}

}  // namespace
