#pragma once
// The conditions of the conditional query SlgzGRCX, built from what the clerk typed exactly as the
// host's engine is given them. A typed value goes into the statement between single quotes with each
// quote doubled, so a name like O'Neil finds O'Neil and no input can change the statement itself.
#include <QString>
#include <QStringView>

#include "data/wage_items.h"

namespace slp::windows::query {

// The text without the blanks (spaces) at its ends; tabs and other characters stay.
QString trimBlanks(QStringView text);
// A value between single quotes with every quote inside doubled: O'Neil gives 'O''Neil'.
QString quotedText(QStringView value);

// From N, the trimmed name box: empty for no condition; with "*" or "?" (not wildcards) the whole name
// equals N, "姓名='N'"; otherwise the name begins with N, "left(姓名,<length of N>)='N'".
QString nameCondition(QStringView name);

// From D, the trimmed department box, n its length including any operator characters: ">=x" gives
// "left(部门号,n)>='x'", "<=x" likewise with "<=", ">x" gives "left(部门号,n)>'x'", "<x" with "<",
// anything else "Left(部门号,n)='D'" (the department number begins with D); empty for no condition.
QString departmentCondition(QStringView department);

// Both: "and " & name & " and " & department; one of them: " and " & it; neither: empty.
QString joinConditions(const QString& name, const QString& department);

// "select [a],...,[z] from 16工资输出数据 where 工作年月='<month>' " & conditions & "  order by 部门号".
// An empty catalogue raises slp::Error 9.
QString conditionalQueryStatement(const data::WageCatalogue& catalogue, const QString& monthKey,
                                  const QString& conditions);

}  // namespace slp::windows::query
