#pragma once
// Gives the registry the factory of 工资输出表2 (WindowId::DepartmentPayment).
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp {

// With the services of the running component (hostContext(), Qt dialogs, the system's default printer,
// the desktop's spreadsheet program).
void registerDepartmentPaymentWindow(WindowRegistry& registry);
// With services of the caller's own (tests, the demo host).
void registerDepartmentPaymentWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp
