#include "windows/shared/standard_services.h"

#include <QApplication>
#include <QWidget>

#include "data/host_context.h"
#include "export/spreadsheet_export.h"
#include "print/font_metrics.h"
#include "print/printer.h"
#include "print/printer_choice.h"
#include "settings/store.h"
#include "ui/progress_bar.h"
#include "ui/window_registry.h"
#include "windows/print_preview/show_print_preview.h"

using namespace Qt::StringLiterals;

namespace slp::windows {

WindowServices standardWindowServices(WindowRegistry& registry, HostContext& context) {
    WindowServices s;
    s.context = &context;
    s.registry = &registry;
    s.store = std::make_shared<settings::Store>();
    s.clock = std::make_shared<SystemClock>();
    s.measure = print::measureCharUnit;
    // The chosen printer: a system printer, or PDF files (the choice when the system has no printer).
    s.openPrinter = [store = s.store] { return print::openChosenPrinter(*store); };
    s.showPreview = [&registry](const print::PrintPreviewRequest& request) {
        print::ShowPrintPreview(registry, request);
    };
    const std::shared_ptr<const Clock> clock = s.clock;
    s.exportGrid = [clock](const data::WageGrid& grid, Prompts& prompts) {
        sheet::SpreadsheetOptions options;
        options.clock = clock.get();
        // A bar that can stop the writing, over the window the clerk asked from.
        QWidget* window = QApplication::activeWindow();
        options.progress =
            ui::progressBar(window, u"正在写入电子表格..."_s, window ? window->windowTitle() : QString());
        sheet::ExportGridToSpreadsheet(grid, prompts, options);
    };
    s.fillApart = true;
    return s;
}

}  // namespace slp::windows
