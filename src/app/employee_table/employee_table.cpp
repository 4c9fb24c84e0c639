#include "app/employee_table/employee_table.h"

#include <cmath>
#include <vector>

#include "app/employee_table/employee_queries.h"
#include "app/shared/font_size_menu.h"
#include "app/shared/host_database.h"
#include "basic/conversions.h"
#include "basic/error.h"
#include "data/amount_format.h"
#include "data/database.h"
#include "data/database_error.h"
#include "data/host_context.h"
#include "settings/groups.h"

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

namespace {

// The texts of the table's rows as they are read: the sequence, the leading text items as stored, the
// amounts formatted (zeros shown or left empty), and the totals row gathered from the rows on the way.
class RowTexts {
  public:
    RowTexts(const data::WageCatalogue& catalogue, bool showZeros)
        : cols_(catalogue.itemCount + 1),
          f_(catalogue.firstAmountIndex),
          lastText_(std::min(f_, cols_ - 1)),
          showZeros_(showZeros),
          sums_(size_t(cols_), 0.0),
          carries_(size_t(cols_), 0.0) {
        // One formatter per amount column; the first f columns after the sequence are text as stored.
        formats_.reserve(size_t(cols_));
        for (int c = 0; c < cols_; ++c)
            formats_.emplace_back(c == 0 ? QString() : catalogue.itemFormat[c - 1]);
    }

    // Grid row r from the current row of `rs`, a cell at a time to cell(row, column, text).
    template <class Cell>
    void row(const data::ResultSet& rs, int r, Cell&& cell) {
        cell(r, 0, QString::number(r));
        for (int c = 1; c <= lastText_; ++c) cell(r, c, rs.text(c - 1));
        if (!rs.isNull(kCountedItem)) ++counted_;
        for (int c = f_ + 1; c < cols_; ++c) {
            const double v = rs.number(c - 1);
            cell(r, c, amountText(c, v, rs.textBytes(c - 1)));
            addCompensated(sums_[size_t(c)], carries_[size_t(c)], v);
        }
    }

    // The totals row, as grid row t. It holds what the totals query (employeeTotalsQuery) answers: the
    // count of the second item's non-null values and, for every amount item, the sum of its values'
    // leading numbers. Both are gathered from the rows already read rather than by reading the month a
    // second time; the sums are compensated, so the order of the rows does not show in the last digit.
    template <class Cell>
    void totals(int t, Cell&& cell) {
        cell(t, 0, u"合计"_s);
        if (f_ < cols_) cell(t, f_, u"共"_s + QString::number(counted_) + u"人"_s);
        for (int c = f_ + 1; c < cols_; ++c)
            cell(t, c, amountText(c, sums_[size_t(c)] + carries_[size_t(c)]));
    }

  private:
    static constexpr int kCountedItem = 1;

    QStringView amountText(int c, double v, QByteArrayView stored = {}) {
        if (!showZeros_ && v == 0) return QStringView();
        return formats_[size_t(c)].format(v, stored, buffer_, spill_);
    }

    int cols_;
    int f_;
    int lastText_;
    bool showZeros_;
    std::vector<data::AmountFormat> formats_;
    data::AmountFormat::Buffer buffer_;
    QString spill_;
    std::vector<double> sums_;
    std::vector<double> carries_;
    int counted_ = 0;
};

}  // namespace

void EmployeeTable::checkCountedItem() const {
    // The head count is that of the second item, which must be a leading text item: the totals query
    // has no count of it otherwise.
    const int f = catalogue_.firstAmountIndex;
    if (f < 1 || catalogue_.itemCount < 2) throw SubscriptError();
    if (f < 2) throw Error(data::dberr::ItemNotFound, u"在此集合中找不到项目。"_s);
}

std::optional<data::WageGrid> EmployeeTable::buildGridFrom(data::Database& db, const QString& month) const {
    // The month's rows are counted first, so the grid is made once at its size and the rows are read a
    // chunk at a time into it: the month is never held twice, as read and as shown.
    const QString query = employeeItemQuery(catalogue_, month);
    data::ResultSet count = db.open(employeeCountQuery(month));
    const double counted = count.eof() ? 0 : count.number(0);
    count.close();
    if (!(counted >= 1)) return std::nullopt;
    const int cols = catalogue_.itemCount + 1;
    const int f = catalogue_.firstAmountIndex;
    data::WageGrid grid(int(std::min(counted, 2147483645.0)) + 2, cols);
    grid.setRowHeight(0, kCaptionRowHeight);
    grid.setFixedRows(1);
    grid.setFixedCols(f);
    grid.setFontName(u"宋体"_s);
    grid.setFontSize(printFontSize_);

    const auto setText = [&grid](int r, int c, QStringView text) { grid.setText(r, c, text); };
    RowTexts texts(catalogue_, showZeros_);
    int r = 0;
    db.openInChunks(query, kRowsPerChunk, [&](data::ResultSet& rs) {
        if (r == 0) checkCountedItem();
        const int n = rs.recordCount();
        // Rows stored since they were counted still get theirs.
        if (r + n + 2 > grid.rows()) grid.setRows(r + n + 2);
        for (int k = 0; k < n; ++k) {
            rs.setAbsolutePosition(k);
            texts.row(rs, ++r, setText);
        }
    });
    if (r == 0) return std::nullopt;
    if (r + 2 != grid.rows()) grid.setRows(r + 2);
    const int rows = r + 2;
    texts.totals(rows - 1, setText);

    grid.setText(0, 0, u"序号"_s);
    for (int c = 1; c < cols; ++c) grid.setText(0, c, catalogue_.itemName[c - 1]);
    for (int c = 0; c < cols; ++c) {
        grid.setCaptionAlignment(c, c <= 2 ? data::align::CenterCenter : data::align::RightCenter);
    }
    for (int c = 0; c < cols; ++c) grid.setAmountFormat(c, amountFormat(c));
    data::applyColumnWidths(grid, catalogue_, columns(cols), charUnit_);
    return grid;
}

std::optional<QString> EmployeeTable::amountFormat(int col) const {
    if (col <= catalogue_.firstAmountIndex || col > catalogue_.itemCount) return std::nullopt;
    return catalogue_.itemFormat[col - 1];
}

bool EmployeeTable::streamGridFrom(data::Database& db, const QString& month, const CellSink& cell) const {
    const int cols = catalogue_.itemCount + 1;
    RowTexts texts(catalogue_, showZeros_);
    int r = 0;
    db.openInChunks(employeeItemQuery(catalogue_, month), kRowsPerChunk, [&](data::ResultSet& rs) {
        if (r == 0) {
            checkCountedItem();
            cell(0, 0, u"序号"_s);
            for (int c = 1; c < cols; ++c) cell(0, c, catalogue_.itemName[c - 1]);
        }
        for (int k = 0; k < rs.recordCount(); ++k) {
            rs.setAbsolutePosition(k);
            texts.row(rs, ++r, cell);
        }
    });
    if (r == 0) return false;
    texts.totals(r + 1, cell);
    return true;
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
