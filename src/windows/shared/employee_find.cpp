#include "windows/shared/employee_find.h"

#include <QAbstractItemModel>
#include <QItemSelectionModel>
#include <QTableView>

#include "data/employee_search.h"

using namespace Qt::StringLiterals;

namespace slp::windows {

QString findEmployeePrompt() {
    return u"请输入要查找的员工的工号或姓名"_s;
}

int findEmployeeInView(QTableView& view, const data::WageGrid& grid, int firstRow, int lastRow,
                       Prompts& prompts, QString& lastKey) {
    const std::optional<QString> key =
        prompts.inputBox(findEmployeePrompt(), QString::fromUtf16(kFindEmployeeTitle), lastKey);
    if (!key || key->trimmed().isEmpty()) return -1;
    lastKey = key->trimmed();
    const int current = view.currentIndex().isValid() ? view.currentIndex().row() : firstRow - 1;
    const int row = data::nextRowOfEmployee(grid, lastKey, firstRow, lastRow, current);
    if (row < 0) {
        prompts.messageBox(u"未找到工号或姓名为“%1”的员工"_s.arg(lastKey),
                           QString::fromUtf16(kFindEmployeeTitle), MessageIcon::Information,
                           MessageButtons::Ok);
        return -1;
    }
    const QModelIndex at = view.model()->index(row, std::max(0, view.currentIndex().column()));
    view.setCurrentIndex(at);
    view.selectionModel()->select(at, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    view.scrollTo(at, QAbstractItemView::PositionAtCenter);
    return row;
}

}  // namespace slp::windows
