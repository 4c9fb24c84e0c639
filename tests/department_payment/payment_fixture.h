#pragma once
// The payment table tests make their months by hand as the summary tests do: the same SQLite file of
// typeless tables, the same small catalogue (部门, 工号, 姓名, then four amounts; firstAmountIndex 3) and a
// host record pointing at it.
#include "../department_summary/summary_fixture.h"

namespace payment_test {
using summary_test::fixedMeasure;
using summary_test::kMonth;
using summary_test::smallCatalogue;
using summary_test::SummaryDatabase;
}  // namespace payment_test
