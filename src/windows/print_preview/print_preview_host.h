#pragma once
// The process-wide instance of 工资MSGPRINT as the window registry holds it, a window made afresh at
// every opening like every other: the driver and its PrintLayout, the printer and the picture live here
// for the life of the process; the window's widgets are made on opening and dropped on closing.
#include <QPointer>
#include <memory>

#include "app/print_preview/preview_canvas.h"
#include "app/print_preview/print_preview_driver.h"
#include "basic/clock.h"
#include "settings/store.h"
#include "ui/qt_prompts.h"
#include "ui/reopening_window.h"
#include "ui/window_registry.h"
#include "windows/print_preview/print_preview_window.h"
#include "windows/print_preview/show_print_preview.h"

namespace slp::print {

class PrintPreviewHost : public windows::ReopeningWindow {
  public:
    PrintPreviewHost(WindowRegistry& registry, PrintPreviewServices services);
    ~PrintPreviewHost() override;

    // ShowPrintPreview's part: the request is stored (its grid copied); nothing is redrawn.
    void setRequest(const PrintPreviewRequest& request);
    // Tells the clerk that the request has no row to print ("没有可打印的数据!"), titled `title`.
    void tellNothingToPrint(const QString& title);
    // Closes the window as the clerk closes it (the settings are written); nothing when it is not open.
    void closeWindow();

    PrintPreviewDriver& driver();
    Printer& printer();
    // The open window, or nullptr.
    PrintPreviewWindow* window() const { return window_.data(); }

  private:
    void ensureDriver();
    // Makes the window over the driver and opens the document.
    QWidget* makeWindow();
    void setupPrinter(QWidget* parent);

    WindowRegistry& registry_;
    PrintPreviewServices services_;
    std::unique_ptr<settings::Store> ownStore_;
    SystemClock systemClock_;
    ui::QtPrompts qtPrompts_;
    std::unique_ptr<Printer> printer_;
    PictureCanvas canvas_;
    std::unique_ptr<PrintPreviewDriver> driver_;
    QPointer<PrintPreviewWindow> window_;
};

}  // namespace slp::print
