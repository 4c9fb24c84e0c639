#pragma once
// A window opened as a new user opens it from the demo host: one QApplication for the test program, a
// demo month in a fresh settings folder, the host's call through the C interface, and the window then
// shown, found by its name.
#include <QAbstractItemView>
#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include "data/demo_database.h"
#include "host_driver.h"

namespace host_test {

class DemoHost {
  public:
    explicit DemoHost(const slp::data::DemoOptions& options) {
        static int argc = 1;
        static char name[] = "test_app";
        static char* argv[] = {name, nullptr};
        if (!QApplication::instance()) new QApplication(argc, argv);
        qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
        path = dir.filePath(QStringLiteral("demo.db"));
        slp::data::createDemoDatabase(path, options);
    }
    // The host's call of `method` on the demo month.
    slp::app::CallResult call(const char* method) {
        return driver.request({path, QStringLiteral("0101"), QStringLiteral("朔岚示范公司"),
                               QStringLiteral("2000-04"), QStringLiteral("25")},
                              method);
    }
    // The top-level window of that object name that is shown, or nullptr.
    static QWidget* visibleWindow(const QString& name) {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->objectName() == name && w->isVisible()) return w;
        }
        return nullptr;
    }

    // The window's grid once its rows show: a wage window reads its month while it already takes input.
    // Gives up after ten seconds (the grid then has no rows).
    static QAbstractItemView* shownGrid(QWidget* window) {
        auto* grid = window->findChild<QAbstractItemView*>(QStringLiteral("MSGrid1"));
        const QDeadlineTimer deadline(10000);
        while (grid && grid->model()->rowCount() == 0 && !deadline.hasExpired()) {
            QApplication::processEvents();
            QThread::msleep(1);
        }
        return grid;
    }

    QTemporaryDir dir;
    QString path;
    slp::app::HostDriver driver;
};

}  // namespace host_test
