#include "entry/打印工资.h"

#include <exception>
#include <optional>

#include "app/shared/open_host.h"
#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp {

namespace {

Status refusedOr(const std::optional<QString>& problem) {
    return problem ? Status{status::BadParamCount, *problem} : Status::success();
}

}  // namespace

Status 打印工资::GetDWDM(const QString& unitCode) {
    return refusedOr(setUnitCode(context_, unitCode));
}

Status 打印工资::GetDWMC(const QString& unitName) {
    return refusedOr(setUnitName(context_, unitName));
}

Status 打印工资::GetRQ(const QString& text) {
    return refusedOr(setWorkMonth(context_, text));
}

void 打印工资::GetFXRQ(const QString& payDay) {
    // Assembled from the year and month held now; a later GetRQ does not change it.
    setPayDay(context_, payDay);
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
