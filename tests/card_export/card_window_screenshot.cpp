// Draws the card export window on a demo month into two PNG files (the grid page and the fields page
// with the postal card chosen), for a person to look at: card_window_screenshot OUT_PREFIX
#include <QApplication>
#include <QComboBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <cstdio>

#include "basic/scripted_prompts.h"
#include "card_test_database.h"
#include "settings/keys.h"
#include "windows/card_export/card_export_registration.h"
#include "windows/card_export/card_export_window.h"

using namespace Qt::StringLiterals;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fputs("usage: card_window_screenshot OUT_PREFIX\n", stderr);
        return 2;
    }
    const QString prefix = QString::fromLocal8Bit(argv[1]);
    slp::test::CardDatabase data(40);
    slp::HostContext host = slp::test::demoHost(data.database());
    QTemporaryDir storeDir;
    slp::settings::Store store(storeDir.path());
    slp::settings::writeText(store, slp::settings::resolve(slp::settings::key::CardUnitCode, host.unitCode),
                             u"330100"_s);
    slp::ScriptedPrompts prompts;
    slp::windows::WindowServices services;
    services.context = &host;
    services.store = std::shared_ptr<slp::settings::Store>(std::shared_ptr<void>(), &store);
    services.prompts = std::shared_ptr<slp::Prompts>(std::shared_ptr<void>(), &prompts);
    slp::card::CardExportHandle handle(services);
    handle.showOrRaise();
    slp::card::CardExportWindow* w = handle.window();
    QApplication::processEvents();
    bool ok = w->grab().save(prefix + u"-grid.png"_s);

    auto* combo = w->findChild<QComboBox*>(u"Combo1"_s);
    combo->setCurrentIndex(2);
    emit combo->activated(2);
    w->pages()->setCurrentIndex(0);
    QApplication::processEvents();
    ok = w->grab().save(prefix + u"-fields.png"_s) && ok;
    for (const auto& a : prompts.asked) std::fprintf(stderr, "asked: %s\n", qPrintable(a.text));
    return ok ? 0 : 1;
}
