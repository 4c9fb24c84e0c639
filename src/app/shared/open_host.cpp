#include "app/shared/open_host.h"

#include <exception>

#include "app/shared/error_report.h"
#include "basic/host_text.h"
#include "basic/prompts.h"
#include "data/database.h"

using namespace Qt::StringLiterals;

namespace slp {

namespace {

// The description of a text with a control character, or nothing.
std::optional<QString> controlCharacterIn(const QString& text, const QString& what) {
    const qsizetype at = firstControlCharacter(text);
    if (at < 0) return std::nullopt;
    return u"%1“%2”的第%3个字符是控制字符，%1保持原值。"_s.arg(what, visibleControls(text)).arg(at + 1);
}

}  // namespace

std::optional<QString> setUnitCode(HostContext& host, const QString& unitCode) {
    if (auto problem = controlCharacterIn(unitCode, u"单位代码"_s)) return problem;
    host.unitCode = unitCode;
    return std::nullopt;
}

std::optional<QString> setUnitName(HostContext& host, const QString& unitName) {
    if (auto problem = controlCharacterIn(unitName, u"单位名称"_s)) return problem;
    host.unitName = unitName;
    return std::nullopt;
}

std::optional<QString> setWorkMonth(HostContext& host, const QString& text) {
    if (!isWorkMonthText(text)) {
        return u"工作年月“%1”应为四位年份、“-”和一到两位月份（如 2000-04），工作年月保持原值。"_s.arg(
            visibleControls(text));
    }
    // The month is never reformatted: "2000-4" keys the month as 2000-4.
    host.workYear = text.left(4);
    host.workMonth = text.mid(5);
    return std::nullopt;
}

void setPayDay(HostContext& host, const QString& payDay) {
    host.payDate = host.workYear + u'-' + host.workMonth + u'-' + payDay;
}

bool openHost(HostContext& host, const HostRequest& request, Prompts& prompts) {
    host.database.reset();
    // One field after another, as the host puts them: a refused field ends the opening there.
    std::optional<QString> problem = setUnitCode(host, request.unitCode);
    if (!problem) problem = setUnitName(host, request.unitName);
    if (!problem) problem = setWorkMonth(host, request.month);
    if (problem) {
        prompts.messageBox(*problem, {}, MessageIcon::Warning, MessageButtons::Ok);
        return false;
    }
    setPayDay(host, request.payDay);
    try {
        auto database = std::make_shared<data::Database>(request.connection);
        if (request.rowsRead) database->setRowsReadObserver(request.rowsRead);
        host.database = std::move(database);
    } catch (const std::exception& e) {
        windows::reportError(prompts, e);
        return false;
    }
    return true;
}

}  // namespace slp
