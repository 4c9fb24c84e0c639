#include "host_driver.h"

#include "default_database.h"

using namespace Qt::StringLiterals;

namespace slp::app {

namespace {
CallResult failure(int32_t code, const char* step) {
    return {code, QString::fromUtf8(step), QString::fromUtf8(slp_last_error())};
}
}  // namespace

QString failureText(const CallResult& result) {
    const QString code = u"0x"_s + QString::number(static_cast<uint32_t>(result.code), 16).toUpper();
    const QString call = u"（"_s + result.step + u" 返回 "_s + code + u"）"_s;
    return result.description.isEmpty() ? call : result.description + u'\n' + call;
}

HostDriver::HostDriver() {
    const int32_t rc = slp_create_object("Sl_PAYPRN.打印工资", &component_);
    if (rc != SLP_OK) createResult_ = failure(rc, "slp_create_object");
}

HostDriver::~HostDriver() {
    slp_release(component_);
}

CallResult HostDriver::put(const char* member, const slp_value& value) {
    int32_t id = 0;
    if (int32_t rc = slp_get_dispid(component_, member, &id); rc != SLP_OK) return failure(rc, member);
    if (int32_t rc = slp_invoke(component_, id, &value); rc != SLP_OK) return failure(rc, member);
    return {};
}

CallResult HostDriver::request(const HostFields& f, const char* method) {
    if (!createResult_.ok()) return createResult_;

    // The database first; an empty field hands over no database.
    slp_object* db = nullptr;
    if (!f.databaseFile.isEmpty()) {
        const QByteArray conn =
            (isServerUrl(f.databaseFile) ? f.databaseFile : u"sqlite:"_s + f.databaseFile).toUtf8();
        if (int32_t rc = slp_open_database(conn.constData(), &db); rc != SLP_OK) {
            CallResult r = failure(rc, "slp_open_database");
            r.description = u"无法打开数据库“%1”：%2"_s.arg(f.databaseFile, r.description);
            return r;
        }
    }
    CallResult r =
        put("GetDB", db ? slp_value{SLP_OBJECT, nullptr, db} : slp_value{SLP_EMPTY, nullptr, nullptr});
    slp_release(db);  // the component keeps its own reference
    if (!r.ok()) return r;

    const QByteArray unit = f.unitCode.toUtf8(), name = f.unitName.toUtf8(), month = f.workMonth.toUtf8(),
                     day = f.payDay.toUtf8();
    for (auto [member, text] : {std::pair{"GetDWDM", &unit}, std::pair{"GetDWMC", &name},
                                std::pair{"GetRQ", &month}, std::pair{"GetFXRQ", &day}}) {
        r = put(member, slp_value{SLP_TEXT, text->constData(), nullptr});
        if (!r.ok()) return r;
    }

    int32_t id = 0;
    if (int32_t rc = slp_get_dispid(component_, method, &id); rc != SLP_OK) return failure(rc, method);
    if (int32_t rc = slp_invoke(component_, id, nullptr); rc != SLP_OK) return failure(rc, method);
    return {};
}

}  // namespace slp::app
