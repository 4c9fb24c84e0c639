// The catalogues the employee wage table's queries cannot be built from (their texts are golden files,
// tests/golden/queries).
#include "app/employee_table/employee_queries.h"

#include <gtest/gtest.h>

#include "basic/error.h"

using namespace Qt::StringLiterals;
using namespace slp::windows::employee;

namespace {

slp::data::WageCatalogue catalogue(const QStringList& names, int firstAmount) {
    slp::data::WageCatalogue c;
    c.itemName = names;
    for (int i = 0; i < names.size(); ++i) {
        c.itemFormat << (i < firstAmount ? u"0"_s : u"0.00"_s);
        c.itemWidth << int16_t(5);
    }
    c.itemCount = int16_t(names.size());
    c.firstAmountIndex = int16_t(firstAmount);
    return c;
}

TEST(EmployeeQueries, CataloguesTheQueriesCannotBeBuiltFromAreRefused) {
    // No text item: the count of the item before the first amount does not exist.
    EXPECT_THROW(employeeTotalsQuery(catalogue({u"a"_s, u"b"_s}, 0), u"2000-04"_s), slp::Error);
    // No item at all.
    EXPECT_THROW(employeeItemQuery(catalogue({}, 0), u"2000-04"_s), slp::Error);
    try {
        employeeItemQuery(catalogue({}, 0), u"2000-04"_s);
    } catch (const slp::Error& e) {
        EXPECT_EQ(e.number(), 9);
    }
    // A first amount index left from an earlier, longer catalogue.
    EXPECT_THROW(employeeTotalsQuery(catalogue({u"a"_s, u"b"_s}, 4), u"2000-04"_s), slp::Error);
}

}  // namespace
