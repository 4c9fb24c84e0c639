#include "entry/打印工资.h"

#include <exception>
#include <optional>

#include "basic/error.h"
#include "basic/host_text.h"

using namespace Qt::StringLiterals;

namespace slp {

namespace {

Status refused(const QString& description) {
    return {status::BadParamCount, description};
}

// The description of a text with a control character, or nothing.
std::optional<Status> controlCharacterIn(const QString& text, const QString& what) {
    const qsizetype at = firstControlCharacter(text);
    if (at < 0) return std::nullopt;
    return refused(
        u"%1“%2”的第%3个字符是控制字符，%1保持原值。"_s.arg(what, visibleControls(text)).arg(at + 1));
}

}  // namespace

Status 打印工资::GetDWDM(const QString& unitCode) {
    if (auto problem = controlCharacterIn(unitCode, u"单位代码"_s)) return *problem;
    context_.unitCode = unitCode;
    return Status::success();
}

Status 打印工资::GetDWMC(const QString& unitName) {
    if (auto problem = controlCharacterIn(unitName, u"单位名称"_s)) return *problem;
    context_.unitName = unitName;
    return Status::success();
}

Status 打印工资::GetRQ(const QString& text) {
    if (!isWorkMonthText(text)) {
        return refused(u"工作年月“%1”应为四位年份、“-”和一到两位月份（如 2000-04），工作年月保持原值。"_s.arg(
            visibleControls(text)));
    }
    // The month is never reformatted: "2000-4" keys the month as 2000-4.
    context_.workYear = text.left(4);
    context_.workMonth = text.mid(5);
    return Status::success();
}

void 打印工资::GetFXRQ(const QString& payDay) {
    // Assembled from the year and month held now; a later GetRQ does not change it.
    context_.payDate = context_.workYear + u'-' + context_.workMonth + u'-' + payDay;
}

Status 打印工资::open(WindowId id) {
    try {
        registry_.open(id);
        return Status::success();
    } catch (const MissingWindowError& e) {
        return {status::NotImplemented, e.description()};
    } catch (const Error& e) {
        return {status::Exception, e.description() + u" (错误号 "_s + QString::number(e.number()) + u')'};
    } catch (const std::exception& e) {
        return {status::Exception, QString::fromUtf8(e.what())};
    }
}

}  // namespace slp
