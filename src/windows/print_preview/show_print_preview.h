#pragma once
// The entry the wage windows call to preview and print a grid, and the registration of the preview
// window 工资MSGPRINT with the window registry.
//
//   slp::print::PrintPreviewRequest request;
//   request.grid = &grid;                        // copied: the window may close while the preview is open
//   request.title = u"工资签收联"_s;
//   request.leftText = u"单位名称:"_s + context.unitName;
//   request.rightText = u"发薪日期:"_s + slp::formatText(context.payDate, u"YY-MM");
//   request.slipMode = slp::print::kSlipModeTable;   // kSlipModeSlips for wage slips
//   request.printFontSize = printFontSize;
//   slp::print::ShowPrintPreview(registry, request);
#include <functional>
#include <memory>

#include "app/print_preview/print_preview_request.h"

class QWidget;

namespace slp {
class Clock;
class Prompts;
class WindowRegistry;
struct HostContext;
}  // namespace slp
namespace slp::settings {
class Store;
}

namespace slp::print {

class Printer;

// What the preview window works with. Every member may stay empty for the defaults.
struct PrintPreviewServices {
    HostContext* host = nullptr;       // none: the process's HostContext
    settings::Store* store = nullptr;  // none: the user's settings folder
    const Clock* clock = nullptr;      // none: the system clock
    Prompts* prompts = nullptr;        // none: Qt dialogs over the preview window
    // The printer, opened when the window first opens. None: the system's default printer, or, when no
    // printer is installed, a stand-in that lays pages out on A4 and answers printing with error 484.
    std::function<std::unique_ptr<Printer>()> openPrinter;
    // The printer setup dialog. None: QPrintDialog on a system printer; the missing-printer message when
    // none is installed.
    std::function<void(Printer&, QWidget* parent)> printerSetup;
};

// Gives the registry the factory of the preview window (slp::WindowId::PrintPreview).
void registerPrintPreviewWindow(WindowRegistry& registry);
void registerPrintPreviewWindow(WindowRegistry& registry, PrintPreviewServices services);

// Hands the request to the process's preview window and shows it. A closed window opens afresh with the
// request (reading its settings, counting pages, drawing page 1); an open one is only brought to the
// front and draws the new grid and texts at its next redraw, with the layout and page count of the
// earlier grid until a setting is changed. The grid is copied. Throws slp::Error when the window cannot
// be opened (MissingWindowError when it was never registered).
void ShowPrintPreview(WindowRegistry& registry, const PrintPreviewRequest& request);

}  // namespace slp::print
