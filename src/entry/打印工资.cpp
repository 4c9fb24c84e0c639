#include "entry/打印工资.h"

#include <exception>

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp {

void 打印工资::GetRQ(const QString& text) {
    // The year is the first four characters, the month whatever follows the first dash; the month is
    // never reformatted, so "2000-4" keys the month as 2000-4 and "200004" gives the month 200004.
    context_.workYear = text.left(4);
    const qsizetype dash = text.indexOf(u'-');
    context_.workMonth = dash < 0 ? text : text.mid(dash + 1);
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
