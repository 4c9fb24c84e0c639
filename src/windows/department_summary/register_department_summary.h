#pragma once
// Gives the registry the factory of 工资输出表3 (WindowId::DepartmentSummary).
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp {

// With the services of the running component (hostContext(), Qt dialogs, the preview window, the
// desktop's spreadsheet program).
void registerDepartmentSummaryWindow(WindowRegistry& registry);
// With services of the caller's own (tests, the demo host).
void registerDepartmentSummaryWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp
