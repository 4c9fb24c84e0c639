#include "app/department_payment/department_list.h"

#include <algorithm>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::windows::payment {

void DepartmentList::add(const QString& code, const QString& name) {
    entries_.push_back({keyFor(code), name, true});
}

QString DepartmentList::toggle(int index) {
    if (index >= 0 && index < size()) entries_[size_t(index)].selected = !entries_[size_t(index)].selected;
    return selectedText(selectedCount());
}

QString DepartmentList::selectAll() {
    for (auto& e : entries_) e.selected = true;
    return u"全部选定"_s;
}

QString DepartmentList::clearSelection() {
    for (auto& e : entries_) e.selected = false;
    return u"清除选定"_s;
}

int DepartmentList::selectedCount() const {
    int n = 0;
    for (const auto& e : entries_) n += e.selected ? 1 : 0;
    return n;
}

QString DepartmentList::selectedText(int count) {
    return u"已选中了"_s + QString::number(count) + u"个部门"_s;
}

QString DepartmentList::codeOf(const DepartmentEntry& entry, int codeLength) {
    return entry.key.left(std::max(codeLength, 0));
}

QStringList DepartmentList::selectedCodes(int codeLength) const {
    QStringList codes;
    for (const auto& e : entries_) {
        if (e.selected) codes << codeOf(e, codeLength);
    }
    return codes;
}

QStringList DepartmentList::selectedDepartments(int codeLength) const {
    QStringList codes = selectedCodes(codeLength);
    codes.removeDuplicates();  // keeps the first of each, so list order stays
    return codes;
}

QStringList DepartmentList::selectedGroups(int codeLength) const {
    QStringList groups;
    for (const auto& e : entries_) {
        const QString code = e.key.chopped(std::min<qsizetype>(4, e.key.size()));
        if (e.selected && code.size() > std::max(codeLength, 0)) groups << e.name + u'（' + code + u'）';
    }
    return groups;
}

std::optional<QString> DepartmentList::previewCode(int codeLength) const {
    if (entries_.empty()) return std::nullopt;
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
        if (it->selected) return codeOf(*it, codeLength);
    }
    return codeOf(entries_.front(), codeLength);
}

int DepartmentList::indexOf(const QString& code) const {
    const QString key = keyFor(code);
    for (size_t i = 0; i < entries_.size(); ++i) {
        if (entries_[i].key == key) return int(i);
    }
    return -1;
}

QString DepartmentList::nameOf(const QString& code) const {
    const int i = indexOf(code);
    if (i < 0) throw Error(kElementNotFound, u"元素未找到。"_s);
    return entries_[size_t(i)].name;
}

}  // namespace slp::windows::payment
