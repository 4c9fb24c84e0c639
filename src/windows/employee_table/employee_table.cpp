#include "windows/employee_table/employee_table.h"

#include <cmath>
#include <vector>

#include "basic/conversions.h"
#include "basic/error.h"
#include "data/amount_format.h"
#include "data/database.h"
#include "data/database_error.h"
#include "data/host_context.h"
#include "settings/groups.h"
#include "windows/employee_table/employee_queries.h"
#include "windows/shared/font_size_menu.h"
#include "windows/shared/host_database.h"

using namespace Qt::StringLiterals;

namespace slp::windows::employee {

namespace {

constexpr int kCaptionRowHeight = 500;  // twips

// Neumaier's compensated addition: `carry` keeps what the running sum loses to rounding.
void addCompensated(double& sum, double& carry, double value) {
    const double t = sum + value;
    carry += std::abs(sum) >= std::abs(value) ? (sum - t) + value : (value - t) + sum;
    sum = t;
}

}  // namespace

QString employeeTableCaption() {
    return u"个人发放联"_s;
}
QString noWageDataMessage() {
    return u"未找到数据,请确定是否计算过!"_s;
}
QString zeroDisplayCaption(bool showZeros) {
    return showZeros ? u"显示零"_s : u"不显示零"_s;
}
QString workMonthPanel(const QString& monthKey) {
    return u"工作年月:"_s + monthKey;
}
QString headCountPanel(int employees) {
    return u"本月发薪人数为"_s + QString::number(employees);
}

EmployeeTable::EmployeeTable(const HostContext& context, settings::Store& store,
                             data::CharUnitMeasure measure)
    : context_(context), store_(store), measure_(std::move(measure)) {}

QString EmployeeTable::monthKey() const {
    return context_.monthKey();
}

void EmployeeTable::beginOpening() {
    printFontSize_ = kOpeningPrintFontSize;
    charUnit_ = measure_(u"宋体"_s, kOpeningPrintFontSize);
    showZeros_ = true;
    showZeros_ = settings::EmployeeTableSettings::load(store_, context_.unitCode).showZeros;
}

bool EmployeeTable::loadCatalogue(Prompts& prompts) {
    return data::LoadWageItems(requireDatabase(context_), monthKey(), prompts, catalogue_);
}

std::optional<data::WageGrid> EmployeeTable::buildGrid(Prompts& prompts) const {
    std::optional<data::WageGrid> grid = buildGridFrom(requireDatabase(context_), monthKey());
    if (!grid) prompts.messageBox(noWageDataMessage(), QString(), MessageIcon::Warning, MessageButtons::Ok);
    return grid;
}

std::optional<data::WageGrid> EmployeeTable::buildGridFrom(data::Database& db, const QString& month) const {
    data::ResultSet rs = db.open(employeeItemQuery(catalogue_, month));
    if (rs.eof()) {
        rs.close();
        return std::nullopt;
    }
    rs.moveLast();
    const int cols = catalogue_.itemCount + 1;
    const int rows = rs.recordCount() + 2;
    const int f = catalogue_.firstAmountIndex;
    // The head count is that of the second item, which must be a leading text item: the totals query
    // has no count of it otherwise.
    if (f < 1 || catalogue_.itemCount < 2) throw SubscriptError();
    if (f < 2) throw Error(data::dberr::ItemNotFound, u"在此集合中找不到项目。"_s);
    data::WageGrid grid(rows, cols);
    grid.setRowHeight(0, kCaptionRowHeight);
    grid.setFixedRows(1);
    grid.setFixedCols(f);
    grid.setFontName(u"宋体"_s);
    grid.setFontSize(printFontSize_);

    // One formatter per amount column; the first f columns after the sequence are text as stored.
    std::vector<data::AmountFormat> formats;
    formats.reserve(size_t(cols));
    for (int c = 0; c < cols; ++c) formats.emplace_back(c == 0 ? QString() : catalogue_.itemFormat[c - 1]);
    data::AmountFormat::Buffer buffer;
    QString spill;
    const auto amountText = [&](int c, double v, QByteArrayView stored = {}) -> QStringView {
        if (!showZeros_ && v == 0) return QStringView();
        return formats[size_t(c)].format(v, stored, buffer, spill);
    };
    // The totals row holds what the totals query (employeeTotalsQuery) answers: the count of the second
    // item's non-null values and, for every amount item, the sum of its values' leading numbers. Both
    // are gathered from the rows already read rather than by reading the month a second time; the sums
    // are compensated, so the order of the rows does not show in the last digit.
    const int lastText = std::min(f, cols - 1);
    std::vector<double> sums(size_t(cols), 0.0);
    std::vector<double> carries(size_t(cols), 0.0);
    int counted = 0;
    const int countedItem = 1;
    for (int r = 1; r <= rows - 2; ++r) {
        rs.setAbsolutePosition(r - 1);
        grid.setText(r, 0, QString::number(r));
        for (int c = 1; c <= lastText; ++c) grid.setText(r, c, rs.text(c - 1));
        if (!rs.isNull(countedItem)) ++counted;
        for (int c = f + 1; c < cols; ++c) {
            const double v = rs.number(c - 1);
            grid.setText(r, c, amountText(c, v, rs.textBytes(c - 1)));
            addCompensated(sums[size_t(c)], carries[size_t(c)], v);
        }
    }
    rs.close();

    const int t = rows - 1;
    grid.setText(t, 0, u"合计"_s);
    if (f < cols) grid.setText(t, f, u"共"_s + QString::number(counted) + u"人"_s);
    for (int c = f + 1; c < cols; ++c)
        grid.setText(t, c, amountText(c, sums[size_t(c)] + carries[size_t(c)]));

    grid.setText(0, 0, u"序号"_s);
    for (int c = 1; c < cols; ++c) grid.setText(0, c, catalogue_.itemName[c - 1]);
    for (int c = 0; c < cols; ++c) {
        grid.setCaptionAlignment(c, c <= 2 ? data::align::CenterCenter : data::align::RightCenter);
    }
    data::applyColumnWidths(grid, catalogue_, columns(cols), charUnit_);
    return grid;
}

void EmployeeTable::saveZeroDisplay() const {
    settings::EmployeeTableSettings{showZeros_}.save(store_, context_.unitCode);
}

std::optional<int16_t> EmployeeTable::choosePrintFontSize(Prompts& prompts) {
    const auto size = askPrintFontSize(prompts, printFontSize_);
    if (size) printFontSize_ = *size;
    return size;
}

}  // namespace slp::windows::employee
