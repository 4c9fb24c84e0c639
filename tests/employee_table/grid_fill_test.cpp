// A wage window's grid read on a thread of its own: the grid and its measured widest cells equal what
// the windows build on the host's connection (rows, amounts and the exact totals row), faults come back
// with the result, the model keeps measured widths only while the grid is unchanged, and a window that
// reads apart shows at once and lets a command wait for its rows.
#include "app/shared/grid_fill.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QThread>

#include "app/department_payment/department_payment.h"
#include "app/department_summary/department_summary.h"
#include "app/employee_table/employee_table.h"
#include "app/shared/shown_widths.h"
#include "basic/error.h"
#include "data/database.h"
#include "window_services_fixture.h"
#include "windows/employee_table/employee_table_window.h"
#include "windows/employee_table/register_employee_table.h"

using namespace Qt::StringLiterals;
using slp::data::Database;
using slp::data::WageGrid;
using slp::windows::BuiltGrid;
using slp::windows::GridFill;
using wage_test::WageDatabase;

namespace {

void expectSameGrid(const WageGrid& apart, const WageGrid& eager) {
    ASSERT_EQ(apart.rows(), eager.rows());
    ASSERT_EQ(apart.cols(), eager.cols());
    for (int r = 0; r < eager.rows(); ++r) {
        for (int c = 0; c < eager.cols(); ++c) ASSERT_EQ(apart.text(r, c), eager.text(r, c)) << r << ',' << c;
    }
    for (int c = 0; c < eager.cols(); ++c) {
        EXPECT_EQ(apart.colWidth(c), eager.colWidth(c)) << c;
        EXPECT_EQ(apart.colAlignment(c), eager.colAlignment(c)) << c;
    }
    EXPECT_EQ(apart.fixedRows(), eager.fixedRows());
    EXPECT_EQ(apart.fixedCols(), eager.fixedCols());
    EXPECT_EQ(apart.fontSize(), eager.fontSize());
}

class GridFillApart : public ::testing::Test {
  protected:
    void SetUp() override { w.writeDemo(120); }
    QString connection() const { return w.db->connectionText(); }
    // Builds with `logic` on a connection of its own and on the host's, and compares.
    template <class Logic>
    void expectApartEqualsEager(Logic& logic) {
        const std::optional<WageGrid> eager = logic.buildGrid(prompts);
        ASSERT_TRUE(eager);
        const BuiltGrid built = GridFill::buildApart(
            connection(), [&](Database& db) { return logic.buildGridFrom(db, w.host.monthKey()); });
        ASSERT_FALSE(built.error);
        ASSERT_TRUE(built.grid);
        expectSameGrid(*built.grid, *eager);
        EXPECT_EQ(built.widestCells, slp::windows::widestCells(*eager));
        EXPECT_TRUE(prompts.asked.isEmpty());
    }

    WageDatabase w;
    slp::ScriptedPrompts prompts;
};

TEST_F(GridFillApart, TheEmployeeTableReadApartEqualsTheOneReadOnTheHostsConnection) {
    for (const bool zeros : {true, false}) {
        slp::windows::employee::EmployeeTable table(w.host, w.store, wage_test::fixedMeasure);
        table.beginOpening();
        table.setShowZeros(zeros);
        ASSERT_TRUE(table.loadCatalogue(prompts));
        expectApartEqualsEager(table);
    }
}

TEST_F(GridFillApart, ThePaymentAndSummaryGridsReadApartEqualTheOnesReadOnTheHostsConnection) {
    slp::windows::payment::DepartmentPayment payment(w.host, wage_test::fixedMeasure);
    payment.beginOpening();
    payment.readCodeLength();
    ASSERT_TRUE(payment.loadCatalogue(prompts));
    expectApartEqualsEager(payment);
    slp::windows::summary::DepartmentSummary summary(w.host, wage_test::fixedMeasure);
    summary.beginOpening();
    summary.readCodeLength();
    ASSERT_TRUE(summary.loadCatalogue(prompts));
    expectApartEqualsEager(summary);
}

TEST(EmployeeTableStream, TheCellsToldInRowOrderAreTheGridsAndAMonthWithoutRowsTellsNone) {
    WageDatabase w;
    w.writeDemo(slp::windows::employee::EmployeeTable::kRowsPerChunk + 300);  // two chunks
    slp::ScriptedPrompts prompts;
    for (const bool zeros : {true, false}) {
        slp::windows::employee::EmployeeTable table(w.host, w.store, wage_test::fixedMeasure);
        table.beginOpening();
        table.setShowZeros(zeros);
        ASSERT_TRUE(table.loadCatalogue(prompts));
        const auto eager = table.buildGrid(prompts);
        ASSERT_TRUE(eager);
        WageGrid told(eager->rows(), eager->cols());
        int lastRow = 0;
        bool inOrder = true;
        EXPECT_TRUE(table.streamGridFrom(*w.db, w.host.monthKey(), [&](int r, int c, QStringView text) {
            inOrder = inOrder && r >= lastRow;
            lastRow = r;
            told.setText(r, c, text);
        }));
        EXPECT_TRUE(inOrder);
        EXPECT_EQ(lastRow, eager->rows() - 1);
        for (int r = 0; r < eager->rows(); ++r) {
            for (int c = 0; c < eager->cols(); ++c)
                ASSERT_EQ(told.text(r, c), eager->text(r, c)) << r << ',' << c;
        }
        int cells = 0;
        EXPECT_FALSE(table.streamGridFrom(*w.db, u"1999-01"_s, [&](int, int, QStringView) { ++cells; }));
        EXPECT_EQ(cells, 0);
    }
}

TEST_F(GridFillApart, AMonthWithoutRowsIsNoGridAndAFaultComesBackWithTheResult) {
    slp::windows::employee::EmployeeTable table(w.host, w.store, wage_test::fixedMeasure);
    table.beginOpening();
    ASSERT_TRUE(table.loadCatalogue(prompts));
    const BuiltGrid none = GridFill::buildApart(
        connection(), [&](Database& db) { return table.buildGridFrom(db, u"1999-01"_s); });
    EXPECT_FALSE(none.error);
    EXPECT_FALSE(none.grid);
    EXPECT_TRUE(none.widestCells.empty());
    const BuiltGrid failed = GridFill::buildApart(connection(), [](Database&) -> std::optional<WageGrid> {
        throw slp::Error(3265, u"在此集合中找不到项目。"_s);
    });
    ASSERT_TRUE(failed.error);
    EXPECT_FALSE(failed.grid);
    try {
        std::rethrow_exception(failed.error);
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 3265);
    }
    const BuiltGrid unmeasured = GridFill::buildApart(
        connection(), [&](Database& db) { return table.buildGridFrom(db, w.host.monthKey()); }, false);
    ASSERT_TRUE(unmeasured.grid);
    EXPECT_TRUE(unmeasured.widestCells.empty());
    const BuiltGrid missing = GridFill::buildApart(u"sqlite:"_s + w.dir.filePath(u"missing.db"_s),
                                                   [](Database&) { return std::optional<WageGrid>(); });
    EXPECT_TRUE(missing.error);
}

TEST_F(GridFillApart, OnlyADatabaseASecondConnectionSeesIsReadApart) {
    EXPECT_TRUE(GridFill::canReadApart(*w.db));
    Database memory(u"sqlite::memory:"_s);
    EXPECT_FALSE(GridFill::canReadApart(memory));
}

TEST_F(GridFillApart, TheResultIsHandedOverOnceByTheEventLoopOrByWaiting) {
    const auto build = [](Database&) {
        WageGrid g(3, 2);
        g.setText(1, 1, u"12.50"_s);
        return std::optional<WageGrid>(std::move(g));
    };
    for (const bool waiting : {false, true}) {
        GridFill fill;
        int handed = 0;
        fill.start(connection(), build, [&](BuiltGrid& built) {
            ++handed;
            ASSERT_TRUE(built.grid);
            EXPECT_EQ(built.grid->text(1, 1), u"12.50"_s);
            EXPECT_EQ(built.widestCells.size(), 2u);
        });
        EXPECT_TRUE(fill.running());
        if (waiting) {
            fill.wait();
        } else {
            for (int i = 0; i < 5000 && fill.running(); ++i) {
                QThread::msleep(1);
                QApplication::processEvents();
            }
        }
        EXPECT_FALSE(fill.running());
        QApplication::processEvents();
        fill.wait();
        EXPECT_EQ(handed, 1);
    }
}

TEST(WidestCellsKept, MeasuredWidthsHoldUntilTheTextsShapeOrFontChange) {
    slp::data::WageGridModel model;
    WageGrid g(3, 2);
    g.setText(1, 0, u"1"_s);
    model.replaceGrid(std::move(g), {11, 22});
    ASSERT_NE(model.widestCells(), nullptr);
    EXPECT_EQ(*model.widestCells(), (std::vector<int>{11, 22}));
    model.setColWidth(0, 500);  // widths of the rule are not the cells' widths
    EXPECT_NE(model.widestCells(), nullptr);
    model.setText(2, 1, u"123456"_s);
    EXPECT_EQ(model.widestCells(), nullptr);
    model.keepWidestCells({5, 6});
    model.setFontSize(12);
    EXPECT_EQ(model.widestCells(), nullptr);
    model.keepWidestCells({5, 6});
    model.update([](WageGrid& grid) { grid.resize(4, 2); });
    EXPECT_EQ(model.widestCells(), nullptr);
    model.replaceGrid(WageGrid(2, 3), {1, 2});  // not one a column: measured again by the views
    EXPECT_EQ(model.widestCells(), nullptr);
}

TEST(WindowReadingApart, TheWindowShowsAtOnceAndACommandWaitsForItsRows) {
    WageDatabase w;
    w.writeDemo(60);
    wage_test::WindowFixture f(w);
    f.services.fillApart = true;
    slp::registerEmployeeTableWindow(f.registry, f.services);
    f.registry.open(slp::WindowId::EmployeeTable);
    auto* handle = dynamic_cast<slp::windows::employee::EmployeeTableHandle*>(
        f.registry.instance(slp::WindowId::EmployeeTable));
    ASSERT_NE(handle, nullptr);
    auto* window = handle->window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->filling());
    EXPECT_EQ(window->grid().rows(), 0);
    auto* toSpreadsheet = window->findChild<QAction*>(u"MnuFileSet_40"_s);
    ASSERT_NE(toSpreadsheet, nullptr);
    toSpreadsheet->trigger();
    EXPECT_FALSE(window->filling());
    ASSERT_EQ(f.exported.size(), 1u);
    slp::windows::employee::EmployeeTable table(w.host, w.store, wage_test::fixedMeasure);
    table.beginOpening();
    ASSERT_TRUE(table.loadCatalogue(*f.prompts));
    const auto eager = table.buildGrid(*f.prompts);
    ASSERT_TRUE(eager);
    expectSameGrid(f.exported[0], *eager);
    expectSameGrid(window->grid(), *eager);
    EXPECT_EQ(window->statusPanel(2), slp::windows::employee::headCountPanel(60));
    window->close();
}

}  // namespace
