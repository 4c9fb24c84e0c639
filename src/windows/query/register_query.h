#pragma once
// Gives the registry the factory of SlgzGRCX (WindowId::Query).
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp {

// With the services of the running component.
void registerQueryWindow(WindowRegistry& registry);
// With services of the caller's own.
void registerQueryWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp
