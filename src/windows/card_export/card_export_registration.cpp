#include "windows/card_export/card_export_registration.h"

#include <QDir>
#include <QStandardPaths>

#include "data/host_context.h"
#include "export/spreadsheet_export.h"
#include "print/chinese_fonts.h"
#include "settings/store.h"
#include "ui/qt_prompts.h"
#include "windows/card_export/card_export_window.h"

using namespace Qt::StringLiterals;

namespace slp::card {

QString defaultCardFileFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) folder = QDir::homePath();
    return folder;
}

void exportCardGridToSpreadsheet(const data::WageGrid& grid, Prompts& prompts) {
    sheet::SpreadsheetOptions options;
    options.baseName = u"工资卡"_s;
    sheet::ExportGridToSpreadsheet(grid, prompts, options);
}

CardExportHandle::CardExportHandle(windows::WindowServices services, QString defaultFolder)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          // A closed window is gone with its controls; a new one runs the opening steps.
          print::registerChineseFontSubstitutes();  // the grid's 宋体 (once per process)
          auto* w = new CardExportWindow(*form_);
          if (ownPrompts_) ownPrompts_->setParent(w);
          w->load();
          return w;
      }),
      services_(std::move(services)) {
    if (!services_.store) services_.store = std::make_shared<settings::Store>();
    Prompts* prompts = services_.prompts.get();
    if (!prompts) {
        ownPrompts_ = std::make_unique<ui::QtPrompts>();
        prompts = ownPrompts_.get();
    }
    if (defaultFolder.isEmpty()) defaultFolder = defaultCardFileFolder();
    const HostContext& host = services_.context ? *services_.context : hostContext();
    form_ = std::make_unique<CardExportForm>(host, *services_.store, *prompts, std::move(defaultFolder),
                                             services_.exportGrid);
}

CardExportHandle::~CardExportHandle() = default;

CardExportWindow* CardExportHandle::window() const {
    return qobject_cast<CardExportWindow*>(widget());
}

void registerCardExportWindow(WindowRegistry& registry, windows::WindowServices services) {
    windows::registerWindowHandle<CardExportHandle>(registry, WindowId::CardExport, std::move(services));
}

void registerCardExportWindow(WindowRegistry& registry) {
    windows::WindowServices services = windows::standardWindowServices(registry, hostContext());
    services.exportGrid = exportCardGridToSpreadsheet;
    registerCardExportWindow(registry, std::move(services));
}

}  // namespace slp::card
