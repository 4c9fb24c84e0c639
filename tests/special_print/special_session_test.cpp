// The designer's session without widgets: every opening begins afresh (the session outlives its
// window), and the pop-up's entries change the label they were opened over, and only it.
#include <gtest/gtest.h>

#include "../department_summary/summary_fixture.h"
#include "app/special_print/special_print_session.h"
#include "basic/scripted_prompts.h"
#include "sheet_printer.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::special;

namespace {

class SpecialSession : public ::testing::Test {
  protected:
    void SetUp() override {
        w.createTables();
        for (int i = 1; i <= 3; ++i) {
            w.addWage(u"01"_s, {u"部"_s, u"E%1"_s.arg(i), u"员工"_s, u"100"_s, u"3"_s, u"1.5"_s, u"200"_s});
        }
        services.context = &w.host;
        services.openPrinter = [this]() -> std::unique_ptr<slp::print::Printer> {
            auto p = std::make_unique<special_test::SheetPrinter>();
            jobs = p->log;
            return p;
        };
        session = std::make_unique<SpecialPrintSession>(services);
        session->beginOpening();
        ASSERT_TRUE(session->loadLayout(prompts));
    }

    summary_test::SummaryDatabase w;
    slp::ScriptedPrompts prompts;
    slp::windows::WindowServices services;
    std::unique_ptr<SpecialPrintSession> session;
    std::shared_ptr<std::vector<std::vector<slp::print::Page>>> jobs;
};

TEST_F(SpecialSession, ThePopupChangesTheChosenLabelOnly) {
    session->placeChosenValue(RightOf);  // no label chosen yet: nothing changes
    session->printChosenName(true);
    for (const SheetLabel& l : session->layout().labels()) EXPECT_EQ(l.position, Below);
    session->chooseLabel(1);
    session->placeChosenValue(LeftOf);
    session->printChosenName(true);
    EXPECT_EQ(session->chosenLabel(), &session->layout().label(1));
    EXPECT_EQ(session->layout().label(1).position, LeftOf);
    EXPECT_TRUE(session->layout().label(1).printName);
    EXPECT_FALSE(session->layout().label(0).printName);
}

TEST_F(SpecialSession, ANewOpeningForgetsTheLastOnesChoices) {
    session->confirmLayout(prompts);
    session->chooseLabel(2);
    session->setChooseRange(true);
    session->layout().moveTo(0, {4000, 4000});
    session->beginOpening();
    EXPECT_EQ(session->chosenLabel(), nullptr);
    EXPECT_EQ(session->layout().count(), 0);
    ASSERT_TRUE(session->loadLayout(prompts));
    EXPECT_EQ(session->storedLabels(), session->layout().count());
    EXPECT_NE(session->layout().label(0).pos, QPointF(4000, 4000));
    session->setOnePerPage(true);
    session->printRecords(prompts);  // every record, a job each, no range asked
    for (const auto& a : prompts.asked) EXPECT_FALSE(a.text.startsWith(u"请选择从几号开始打印"_s));
    ASSERT_NE(jobs, nullptr);
    EXPECT_EQ(jobs->size(), 3u);
}

TEST_F(SpecialSession, LeavingWithUnconfirmedChangesAsksAndNoStays) {
    EXPECT_TRUE(session->mayLeave(prompts));  // as laid out: nothing to ask
    EXPECT_TRUE(prompts.asked.isEmpty());
    session->layout().moveTo(0, {4000, 4000});
    ASSERT_TRUE(session->hasUnconfirmedChanges());
    prompts.answerMessage(slp::MessageAnswer::No);
    EXPECT_FALSE(session->mayLeave(prompts));
    ASSERT_EQ(prompts.asked.size(), 1);
    EXPECT_EQ(prompts.asked[0].text, u"打印位置已改动，但还没有确认设置。不保存改动就退出吗？"_s);
    prompts.answerMessage(slp::MessageAnswer::Yes);
    EXPECT_TRUE(session->mayLeave(prompts));
    session->confirmLayout(prompts);  // stored: leaving asks nothing
    const qsizetype asked = prompts.asked.size();
    EXPECT_TRUE(session->mayLeave(prompts));
    EXPECT_EQ(prompts.asked.size(), asked);
}

}  // namespace
