#pragma once
// The window services of the running component, and the registration of a window with the registry.
#include <memory>

#include "app/shared/window_services.h"
#include "ui/window_registry.h"

namespace slp::windows {

// The services of the running component: the user's settings store, the system clock, Qt dialogs, the
// system's default printer, the preview window of `registry` and the desktop's spreadsheet program.
WindowServices standardWindowServices(WindowRegistry& registry, HostContext& context);

// Registers window `id` as a `Handle` made from `services` whenever the window is wanted.
template <class Handle>
void registerWindowHandle(WindowRegistry& registry, WindowId id, WindowServices services) {
    registry.setFactory(id, [services = std::move(services)] { return std::make_unique<Handle>(services); });
}

}  // namespace slp::windows
