#pragma once
// Gives the registry the factory of 特殊打印设置 (WindowId::SpecialPrint).
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp {

// With the services of the running component (hostContext(), Qt dialogs, the system's default printer).
void registerSpecialPrintWindow(WindowRegistry& registry);
// With services of the caller's own (tests, the demo host).
void registerSpecialPrintWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp
