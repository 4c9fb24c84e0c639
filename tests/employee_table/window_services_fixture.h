#pragma once
// Services for window tests: scripted dialogs, the fixed measure of "我", a PDF spool printer in a
// private folder, and a preview and spreadsheet export that only record what they were given.
#include <QDir>
#include <QTemporaryDir>
#include <memory>
#include <vector>

#include "basic/scripted_prompts.h"
#include "print/pdf_spool_printer.h"
#include "ui/window_registry.h"
#include "wage_fixture.h"
#include "windows/shared/standard_services.h"

namespace wage_test {

struct RecordedPreview {
    slp::data::WageGrid grid;
    QString title, leftText, footerText, rightText;
    int16_t captionRows = 0;
    int16_t slipMode = 0;
    float printFontSize = 0;
};

struct WindowFixture {
    explicit WindowFixture(WageDatabase& w) : registry(w.host) {
        services.context = &w.host;
        services.registry = &registry;
        services.store = std::make_shared<slp::settings::Store>(w.dir.filePath(u"config"_s));
        services.clock = std::make_shared<slp::FixedClock>(QDateTime(QDate(2000, 4, 25), QTime(9, 0)));
        services.prompts = prompts;
        services.measure = fixedMeasure;
        const QString folder = w.dir.filePath(u"printed"_s);
        services.openPrinter = [this, folder]() -> std::unique_ptr<slp::print::Printer> {
            ++printersOpened;
            return std::make_unique<slp::print::PdfSpoolPrinter>(folder);
        };
        printedFolder = folder;
        services.showPreview = [this](const slp::print::PrintPreviewRequest& r) {
            previews.push_back({*r.grid, r.title, r.leftText, r.footerText, r.rightText, r.captionRows,
                                r.slipMode, r.printFontSize});
        };
        services.exportGrid = [this](const slp::data::WageGrid& g, slp::Prompts&) { exported.push_back(g); };
    }
    ~WindowFixture() { registry.destroyAll(); }

    QStringList printedFiles() const {
        return QDir(printedFolder).entryList({u"*.pdf"_s}, QDir::Files, QDir::Name);
    }

    std::shared_ptr<slp::ScriptedPrompts> prompts = std::make_shared<slp::ScriptedPrompts>();
    slp::WindowRegistry registry;
    slp::windows::WindowServices services;
    std::vector<RecordedPreview> previews;
    std::vector<slp::data::WageGrid> exported;
    QString printedFolder;
    int printersOpened = 0;
};

}  // namespace wage_test
