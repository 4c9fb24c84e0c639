#pragma once
// Gives the registry the factory of 工资输出表1 (WindowId::EmployeeTable).
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp {

// With the services of the running component (hostContext(), the user's settings, Qt dialogs, the
// system printer, the preview window, the desktop's spreadsheet program).
void registerEmployeeTableWindow(WindowRegistry& registry);
// With services of the caller's own (tests, the demo host).
void registerEmployeeTableWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp
