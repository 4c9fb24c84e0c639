#pragma once
// The department list of 工资输出表2 without widgets: entries in list order, each with its key
// (department code & "List"), its name and whether it is selected (icon 2), and what the clerk's clicks
// and the pop-up menu do to it.
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace slp::windows::payment {

struct DepartmentEntry {
    QString key;   // 部门号 & "List"
    QString name;  // 部门名称
    bool selected = true;
};

class DepartmentList {
  public:
    static QString keyFor(const QString& code) { return code + QStringLiteral("List"); }

    void clear() { entries_.clear(); }
    // Adds an entry at the end, selected.
    void add(const QString& code, const QString& name);
    const std::vector<DepartmentEntry>& entries() const { return entries_; }
    int size() const { return int(entries_.size()); }
    bool isEmpty() const { return entries_.empty(); }

    // A click on entry `index` switches its selection; an index outside the list (a click on an empty
    // area) changes nothing. Returns the status text "已选中了n个部门" either way.
    QString toggle(int index);
    // "全部选定" / "清除选定": returns the status text, the menu's caption.
    QString selectAll();
    QString clearSelection();
    int selectedCount() const;
    // "已选中了" & n & "个部门".
    static QString selectedText(int count);

    // The department code of an entry: the first `codeLength` characters of its key.
    static QString codeOf(const DepartmentEntry& entry, int codeLength);
    // The codes of the selected entries in list order.
    QStringList selectedCodes(int codeLength) const;
    // The departments the selected entries stand for, each once, in list order: a group (an entry whose
    // code is longer than `codeLength`) stands for its whole department.
    QStringList selectedDepartments(int codeLength) const;
    // "部门名称（部门号）" of each selected group, for telling the clerk it prints its whole department.
    QStringList selectedGroups(int codeLength) const;
    // The department the preview shows: the last selected entry in list order, or the first entry when
    // none is selected; nullopt for an empty list.
    std::optional<QString> previewCode(int codeLength) const;
    // The name of the entry whose key is code & "List"; slp::Error 35601 ("元素未找到。") when there is none.
    QString nameOf(const QString& code) const;
    // The index of the entry whose key is code & "List", or -1.
    int indexOf(const QString& code) const;

  private:
    std::vector<DepartmentEntry> entries_;
};

// Error number of a list key that names no entry (the list control's "element not found").
inline constexpr int kElementNotFound = 35601;

}  // namespace slp::windows::payment
