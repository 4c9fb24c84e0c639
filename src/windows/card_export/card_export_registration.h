#pragma once
// The card export window as the component's registry holds it: one CardExport per process that outlives
// its window, and a window made afresh (its opening steps run again) whenever a closed one is asked for.
// It is made like every other window: from the window services, through a reopening handle.
#include <QString>

#include "app/card_export/card_export.h"
#include "ui/reopening_window.h"
#include "ui/window_registry.h"
#include "windows/shared/standard_services.h"

namespace slp::card {

class CardExportWindow;

// The folder the save dialog starts in until one is stored under "文件位置": the user's documents folder
// (the home folder when the desktop names none).
QString defaultCardFileFolder();

// The spreadsheet hand-off of the window: a workbook named 工资卡_<time>.xlsx in the documents folder,
// opened with the desktop's spreadsheet program.
void exportCardGridToSpreadsheet(const data::WageGrid& grid, Prompts& prompts);

class CardExportHandle : public windows::ReopeningWindow {
  public:
    // The logic reads the host record (hostContext() when the services have none) and the store of
    // `services` (the user's settings store when none) and hands its grid to services.exportGrid; the
    // window's dialogs are those of the services (Qt dialogs over the window when none).
    // defaultFolder: where the save dialog starts until one is stored (defaultCardFileFolder() when empty).
    explicit CardExportHandle(windows::WindowServices services, QString defaultFolder = {});

    // The window while it exists (nullptr before the first request and after closing).
    CardExportWindow* window() const;
    CardExport& logic() { return logic_; }

  private:
    windows::WindowServices services_;
    CardExport logic_;
};

// Gives the registry the factory of SlgzSJSC (the host's Card method), with the services of the running
// component (the grid goes to the card workbook) or with the caller's own.
void registerCardExportWindow(WindowRegistry& registry);
void registerCardExportWindow(WindowRegistry& registry, windows::WindowServices services);

}  // namespace slp::card
