// The department summary's queries: the catalogues they refuse, their aliases and their acceptance by
// the engine's translator (their texts are golden files, tests/golden/queries).
#include "app/department_summary/summary_queries.h"

#include <gtest/gtest.h>

#include "basic/error.h"
#include "summary_fixture.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::summary;

namespace {

slp::data::WageCatalogue catalogueOf(const QStringList& names, int16_t firstAmountIndex) {
    slp::data::WageCatalogue c;
    c.itemName = names;
    for (qsizetype i = 0; i < names.size(); ++i) {
        c.itemFormat << u"0.00"_s;
        c.itemWidth << int16_t(4);
    }
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = firstAmountIndex;
    return c;
}

TEST(SummaryQueries, TooSmallACatalogueIsSubscriptOutOfRange) {
    try {
        departmentSummaryQuery(catalogueOf({u"部门"_s}, 0), 2, u"2000-04"_s);
        FAIL() << "no error";
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
    EXPECT_THROW(departmentSummaryQuery(slp::data::WageCatalogue{}, 2, u"2000-04"_s), slp::Error);
}

TEST(SummaryQueries, AliasesAreTheItemNamesWithTheirSuffixes) {
    const auto c = catalogueOf({u"部门"_s, u"工号"_s, u"基本工资"_s}, 2);
    EXPECT_EQ(departmentNameAlias(c), u"部门"_s);
    EXPECT_EQ(headCountAlias(c), u"工号ofcount"_s);
    EXPECT_EQ(itemSumAlias(c, 2), u"基本工资ofsum"_s);
    EXPECT_THROW(itemSumAlias(c, 3), slp::Error);
}

TEST(SummaryQueries, TheEngineAcceptsBothTexts) {
    summary_test::SummaryDatabase w;
    w.createTables();
    const auto c = catalogueOf(w.names, 3);
    EXPECT_NO_THROW(w.db->translate(codeLengthQuery()));
    EXPECT_NO_THROW(w.db->translate(departmentSummaryQuery(c, 2, u"2000-04"_s)));
    EXPECT_NO_THROW(w.db->open(departmentSummaryQuery(c, 0, u"2000-04"_s)).close());
}

}  // namespace
