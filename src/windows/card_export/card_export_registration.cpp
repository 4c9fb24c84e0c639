#include "windows/card_export/card_export_registration.h"

#include <QDir>
#include <QStandardPaths>

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

CardExportWindowHandle::CardExportWindowHandle(CardExportServices services) {
    if (!services.store) {
        ownStore_ = std::make_unique<settings::Store>();
        services.store = ownStore_.get();
    }
    if (!services.prompts) {
        ownPrompts_ = std::make_unique<ui::QtPrompts>();
        services.prompts = ownPrompts_.get();
    }
    if (services.defaultFolder.isEmpty()) services.defaultFolder = defaultCardFileFolder();
    if (!services.exporter) services.exporter = exportCardGridToSpreadsheet;
    const HostContext& host = services.host ? *services.host : hostContext();
    form_ = std::make_unique<CardExportForm>(host, *services.store, *services.prompts, services.defaultFolder,
                                             std::move(services.exporter));
}

CardExportWindowHandle::~CardExportWindowHandle() {
    delete window_.data();
}

CardExportWindow* CardExportWindowHandle::window() const {
    return window_.data();
}

bool CardExportWindowHandle::isOpen() const {
    return window_ && window_->isVisible();
}

void CardExportWindowHandle::showOrRaise() {
    if (isOpen()) {
        window_->raise();
        window_->activateWindow();
        return;
    }
    // A closed window is gone with its controls; a new one runs the opening steps.
    if (window_) window_->deleteLater();
    print::registerChineseFontSubstitutes();  // the grid's 宋体 (once per process)
    auto* w = new CardExportWindow(*form_);
    window_ = w;
    if (ownPrompts_) ownPrompts_->setParent(w);
    QObject::connect(w, &CardExportWindow::closed, w, &QObject::deleteLater);
    w->loadForm();
    w->show();
}

void registerCardExportWindow(WindowRegistry& registry) {
    registry.setFactory(WindowId::CardExport, [] { return std::make_unique<CardExportWindowHandle>(); });
}

}  // namespace slp::card
