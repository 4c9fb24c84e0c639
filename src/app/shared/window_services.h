#pragma once
// What a window and its logic are given rather than taking from globals: the host record, the window
// registry, the settings store, the clock, the dialogs, the measure of "我", the printer for direct
// printing, the preview and the spreadsheet export. windows/shared/standard_services.h makes the ones
// of a running component; tests fill in their own.
#include <QString>
#include <functional>
#include <memory>

#include "app/print_preview/print_preview_request.h"
#include "basic/clock.h"
#include "basic/prompts.h"
#include "data/column_widths.h"
#include "data/wage_grid.h"
#include "print/font_metrics.h"

namespace slp {
struct HostContext;
class WindowRegistry;
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

}  // namespace slp::windows
