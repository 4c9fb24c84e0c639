#include "windows/print_preview/print_preview_host.h"

#include <QPrintDialog>

#include "basic/error.h"
#include "data/wage_grid.h"
#include "print/chinese_fonts.h"
#include "print/no_printer.h"
#include "print/printer_choice.h"
#include "print/system_printer.h"
#include "windows/print_preview/printer_choice_dialog.h"

using namespace Qt::StringLiterals;

namespace slp::print {

namespace {

// The chosen printer (PDF files when the system has none), held so that the printer setup can
// exchange it; a stand-in laying pages out on A4 when even the PDF folder cannot be made.
QString nothingToPrintMessage() {
    return u"没有可打印的数据!"_s;
}

std::unique_ptr<Printer> openDefaultPrinter(const settings::Store& store) {
    try {
        return std::make_unique<ChosenPrinter>(openChosenPrinter(store));
    } catch (const Error&) {
        return std::make_unique<NoInstalledPrinter>();
    }
}

}  // namespace

PrintPreviewHost::PrintPreviewHost(WindowRegistry& registry, PrintPreviewServices services)
    : ReopeningWindow([this](QWidget*) { return makeWindow(); }),
      registry_(registry),
      services_(std::move(services)) {
    if (!services_.host) services_.host = &hostContext();
    if (!services_.store) {
        ownStore_ = std::make_unique<settings::Store>();
        services_.store = ownStore_.get();
    }
    if (!services_.clock) services_.clock = &systemClock_;
    if (!services_.prompts) services_.prompts = &qtPrompts_;
    if (!services_.openPrinter) {
        services_.openPrinter = [store = services_.store] { return openDefaultPrinter(*store); };
    }
}

PrintPreviewHost::~PrintPreviewHost() = default;

void PrintPreviewHost::ensureDriver() {
    if (driver_) return;
    printer_ = services_.openPrinter();
    if (!printer_) throw Error(errnum::NoPrinter, noPrinterDescription());
    driver_ = std::make_unique<PrintPreviewDriver>(
        PrintPreviewDriver::Environment{*services_.store, *services_.prompts, *services_.clock,
                                        *services_.host},
        *printer_, &canvas_);
}

PrintPreviewDriver& PrintPreviewHost::driver() {
    ensureDriver();
    return *driver_;
}

Printer& PrintPreviewHost::printer() {
    ensureDriver();
    return *printer_;
}

void PrintPreviewHost::setRequest(const PrintPreviewRequest& request) {
    driver().setRequest(request);
}

void PrintPreviewHost::tellNothingToPrint(const QString& title) {
    services_.prompts->messageBox(nothingToPrintMessage(), title, MessageIcon::Information,
                                  MessageButtons::Ok);
}

void PrintPreviewHost::closeWindow() {
    if (isOpen()) close();
}

QWidget* PrintPreviewHost::makeWindow() {
    ensureDriver();
    registerChineseFontSubstitutes();
    PrintPreviewWindow::Hooks hooks;
    hooks.printerSetup = [this](QWidget* parent) { setupPrinter(parent); };
    hooks.closed = [this] { registry_.windowClosed(WindowId::PrintPreview); };
    auto* window = new PrintPreviewWindow(*driver_, canvas_, std::move(hooks));
    window_ = window;
    qtPrompts_.setParent(window);
    driver_->open();
    window->placeForOpening();
    return window;
}

void PrintPreviewHost::setupPrinter(QWidget* parent) {
    if (services_.printerSetup) {
        services_.printerSetup(*printer_, parent);
        return;
    }
    if (auto* chosen = dynamic_cast<ChosenPrinter*>(printer_.get())) {
        PrinterChoiceDialog dialog(printerChoices(), chosenPrinter(*services_.store),
                                   loadPdfPrintSetup(*services_.store), parent);
        if (dialog.exec() != QDialog::Accepted) return;
        try {
            applyPrinterChoice(*services_.store, *chosen, dialog.choice(), dialog.setup());
        } catch (const Error& e) {
            services_.prompts->messageBox(e.description(), QString(), MessageIcon::Warning,
                                          MessageButtons::Ok);
            return;
        }
        // A system printer's own settings, as before.
        if (auto* system = dynamic_cast<SystemPrinter*>(&chosen->current())) {
            QPrintDialog printDialog(&system->qtPrinter(), parent);
            printDialog.setWindowTitle(u"打印设置"_s);
            printDialog.exec();
        }
        return;
    }
    if (auto* system = dynamic_cast<SystemPrinter*>(printer_.get())) {
        QPrintDialog dialog(&system->qtPrinter(), parent);
        dialog.setWindowTitle(u"打印设置"_s);
        dialog.exec();
        return;
    }
    if (isMissingPrinter(*printer_)) {
        services_.prompts->messageBox(missingPrinterMessage(), QString(), MessageIcon::Warning,
                                      MessageButtons::Ok);
    }
}

void registerPrintPreviewWindow(WindowRegistry& registry) {
    registerPrintPreviewWindow(registry, {});
}

void registerPrintPreviewWindow(WindowRegistry& registry, PrintPreviewServices services) {
    registry.setFactory(WindowId::PrintPreview, [&registry, services = std::move(services)] {
        return std::make_unique<PrintPreviewHost>(registry, services);
    });
}

void ShowPrintPreview(WindowRegistry& registry, const PrintPreviewRequest& request) {
    auto* host = dynamic_cast<PrintPreviewHost*>(&registry.obtain(WindowId::PrintPreview));
    if (!host) throw Error(0, u"窗口“工资MSGPRINT”无法创建。"_s);
    // A grid without a row under its captions lays out no page: the clerk is told instead of shown an
    // empty preview counting "共0页" and "共-1行".
    if (request.grid && request.grid->rows() <= request.captionRows) {
        host->tellNothingToPrint(request.title.isEmpty() ? request.caption : request.title);
        return;
    }
    // A request while the preview is open closes the open document as the clerk would (its settings
    // written), then opens the new one: the preview always draws the document its title and its 打印
    // stand for.
    host->closeWindow();
    host->setRequest(request);
    host->showOrRaise();
}

}  // namespace slp::print
