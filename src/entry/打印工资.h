#pragma once
// The component's only creatable class: the door through which the payroll host reaches it.
// The host puts the database, unit, month and pay day, then asks for one of five windows.
#include <QString>
#include <memory>

#include "data/host_context.h"
#include "entry/status.h"
#include "ui/window_registry.h"

namespace slp {

class 打印工资 {
  public:
    打印工资(HostContext& context = hostContext(), WindowRegistry& registry = windowRegistry())
        : context_(context), registry_(registry) {}

    // The five window-opening methods.
    Status Card() { return open(WindowId::CardExport); }
    Status PFirst() { return open(WindowId::EmployeeTable); }
    Status PSecond() { return open(WindowId::DepartmentPayment); }
    Status PThird() { return open(WindowId::DepartmentSummary); }
    Status PSEL() { return open(WindowId::SpecialPrint); }

    // The five property puts. The texts are checked where they enter: a unit code or name holding a
    // control character, or a month that is not four digits, "-" and one or two digits, is refused
    // with status::BadParamCount (wrong argument) and a description, and the value held stays.
    Status GetDWDM(const QString& unitCode);
    Status GetDWMC(const QString& unitName);
    Status GetRQ(const QString& workMonthText);
    void GetDB(std::shared_ptr<data::Database> database) { context_.database = std::move(database); }
    void GetFXRQ(const QString& payDay);

  private:
    Status open(WindowId id);

    HostContext& context_;
    WindowRegistry& registry_;
};

}  // namespace slp
