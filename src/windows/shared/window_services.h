#pragma once
// What a window is given rather than taking from globals: the host record, the window registry,
// the settings store, the clock, the dialogs, the measure of "我", the printer for direct printing,
// the preview and the spreadsheet export. standardWindowServices() makes the ones of a running
// component; tests fill in their own.
#include <QString>
#include <functional>
#include <memory>

#include "basic/clock.h"
#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/wage_grid.h"
#include "print/font_metrics.h"
#include "ui/window_registry.h"
#include "windows/print_preview/print_preview_request.h"

namespace slp {
struct HostContext;
}  // namespace slp
namespace slp::settings {
class Store;
}
namespace slp::print {
class Printer;
}

namespace slp::windows {

struct WindowServices {
    HostContext* context = nullptr;
    WindowRegistry* registry = nullptr;
    std::shared_ptr<settings::Store> store;
    std::shared_ptr<const Clock> clock;
    // The dialogs; none: Qt dialogs owned by each window.
    std::shared_ptr<Prompts> prompts;
    // Width in twips of "我" in a face at a size (the width rule's charUnit).
    data::CharUnitMeasure measure = print::measureCharUnit;
    // Opens the printer for direct printing; throws slp::Error 484 when there is none.
    std::function<std::unique_ptr<print::Printer>()> openPrinter;
    // Shows the preview window with a grid (ShowPrintPreview: the grid is copied).
    std::function<void(const print::PrintPreviewRequest&)> showPreview;
    // "转到Excel": hands the grid to the spreadsheet program; messages go through the prompts given.
    std::function<void(const data::WageGrid&, Prompts&)> exportGrid;
    // Whether a window reads its month on a thread of its own while it shows (GridFill), when the
    // database can be read over a second connection; otherwise it reads before it shows.
    bool fillApart = false;
};

// The services of the running component: the user's settings store, the system clock, Qt dialogs, the
// system's default printer, the preview window of `registry` and the desktop's spreadsheet program.
WindowServices standardWindowServices(WindowRegistry& registry, HostContext& context);

// Registers window `id` as a `Handle` made from `services` whenever the window is wanted.
template <class Handle>
void registerWindowHandle(WindowRegistry& registry, WindowId id, WindowServices services) {
    registry.setFactory(id, [services = std::move(services)] { return std::make_unique<Handle>(services); });
}

}  // namespace slp::windows
