#pragma once
// What the demo host does for each of its buttons: the calls a payroll host makes through the C
// interface, in the host's order.
#include <QString>

#include "slpayprn.h"

namespace slp::app {

struct HostFields {
    QString databaseFile;  // empty: no database is handed over
    QString unitCode;
    QString unitName;
    QString workMonth;
    QString payDay;
};

struct CallResult {
    int32_t code = SLP_OK;
    QString step;         // the member that failed
    QString description;  // slp_last_error() of that call
    bool ok() const { return code == SLP_OK; }
};

// What the host tells the clerk of a failed call: the reason in words first (for the database, which file
// and why), then the member and its status code for whoever looks into it.
QString failureText(const CallResult& result);

class HostDriver {
  public:
    HostDriver();
    ~HostDriver();
    HostDriver(const HostDriver&) = delete;
    HostDriver& operator=(const HostDriver&) = delete;

    // GetDB, GetDWDM, GetDWMC, GetRQ, GetFXRQ, then the named method (Card, PFirst, PSecond, PThird,
    // PSEL). Stops at the first failing call.
    CallResult request(const HostFields& fields, const char* method);

  private:
    CallResult put(const char* member, const slp_value& value);
    slp_object* component_ = nullptr;
    CallResult createResult_;
};

}  // namespace slp::app
