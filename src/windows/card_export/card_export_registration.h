#pragma once
// The card export window as the component's registry holds it: one form per process that outlives its
// window, and a window made afresh (its opening steps run again) whenever a closed one is asked for.
#include <QPointer>
#include <QString>
#include <memory>

#include "entry/window_registry.h"
#include "windows/card_export/card_export_form.h"

namespace slp::settings {
class Store;
}
namespace slp::ui {
class QtPrompts;
}

namespace slp::card {

class CardExportWindow;

// The folder the save dialog starts in until one is stored under "文件位置": the user's documents folder
// (the home folder when the desktop names none).
QString defaultCardFileFolder();

// The spreadsheet hand-off of the window: a workbook named 工资卡_<time>.xlsx in the documents folder,
// opened with the desktop's spreadsheet program.
void exportCardGridToSpreadsheet(const data::WageGrid& grid, Prompts& prompts);

// What the window works with; every member left empty takes the component's own.
struct CardExportServices {
    HostContext* host = nullptr;       // slp::hostContext()
    settings::Store* store = nullptr;  // the per-user store
    Prompts* prompts = nullptr;        // Qt dialogs over the window
    QString defaultFolder;             // defaultCardFileFolder()
    GridExporter exporter;             // exportCardGridToSpreadsheet
};

class CardExportWindowHandle : public ManagedWindow {
  public:
    explicit CardExportWindowHandle(CardExportServices services = {});
    ~CardExportWindowHandle() override;

    // Shows the window modeless; a closed one is made afresh and loads, an open one is raised.
    void showOrRaise() override;
    bool isOpen() const override;

    // The window while it exists (nullptr before the first request and after closing).
    CardExportWindow* window() const;
    CardExportForm& form() { return *form_; }

  private:
    std::unique_ptr<settings::Store> ownStore_;
    std::unique_ptr<ui::QtPrompts> ownPrompts_;
    std::unique_ptr<CardExportForm> form_;
    QPointer<CardExportWindow> window_;
};

// Gives the registry the factory of SlgzSJSC (the host's Card method).
void registerCardExportWindow(WindowRegistry& registry);

}  // namespace slp::card
