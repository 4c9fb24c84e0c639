#pragma once
#include "ui/window_registry.h"

namespace slp {

// Gives the registry a factory for every window built into this component. Calling it again is harmless.
void installComponentWindows(WindowRegistry& registry);

}  // namespace slp
