#include "windows/card_export/card_export_registration.h"

#include <QDir>
#include <QStandardPaths>

#include "data/host_context.h"
#include "export/spreadsheet_export.h"
#include "print/chinese_fonts.h"
#include "settings/store.h"
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

namespace {

// The services with a host record and a settings store.
windows::WindowServices withHostAndStore(windows::WindowServices services) {
    if (!services.context) services.context = &hostContext();
    if (!services.store) services.store = std::make_shared<settings::Store>();
    return services;
}

}  // namespace

CardExportHandle::CardExportHandle(windows::WindowServices services, QString defaultFolder)
    : ReopeningWindow([this](QWidget*) -> QWidget* {
          // A closed window is gone with its controls; a new one runs the opening steps.
          print::registerChineseFontSubstitutes();  // the grid's 宋体 (once per process)
          return new CardExportWindow(logic_, services_);
      }),
      services_(withHostAndStore(std::move(services))),
      logic_(*services_.context, *services_.store,
             defaultFolder.isEmpty() ? defaultCardFileFolder() : std::move(defaultFolder),
             services_.exportGrid) {}

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
