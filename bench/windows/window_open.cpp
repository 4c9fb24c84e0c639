// bench_window_open DATABASE MEMBER: opens one window of the component as a Qt host does (the C
// interface, the host's order of calls) and prints the milliseconds from the call to a responsive window:
// the window shown and the event loop free to take the next input. MEMBER is a member of the interface
// (Card, PFirst, PSecond, PThird, PSEL) or a preview the employee table opens: table (打印工资表) or
// slips (预览个人发放联); the employee table itself is opened first and not timed then.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstring>

#include "slpayprn.h"

namespace {

bool call(slp_object* obj, const char* member, const slp_value* arg) {
    int32_t id = 0;
    int32_t status = slp_get_dispid(obj, member, &id);
    if (status == SLP_OK) status = slp_invoke(obj, id, arg);
    if (status != SLP_OK) std::fprintf(stderr, "%s: 0x%08x %s\n", member, unsigned(status), slp_last_error());
    return status == SLP_OK;
}

bool putText(slp_object* obj, const char* member, const char* text) {
    slp_value v = {SLP_TEXT, text, nullptr};
    return call(obj, member, &v);
}

QAction* findAction(const QString& name) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* a = w->findChild<QAction*>(name)) return a;
    }
    return nullptr;
}

bool hasGrid() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->findChild<QAbstractItemView*>(QStringLiteral("MSGrid1"))) return true;
    }
    return false;
}

bool gridShown() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* grid = w->findChild<QAbstractItemView*>(QStringLiteral("MSGrid1"));
        if (grid && grid->model() && grid->model()->rowCount() > 0) return true;
    }
    return false;
}

int visibleWindows() {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) n += w->isVisible() && w->isWindow() ? 1 : 0;
    return n;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr,
                     "usage: bench_window_open DATABASE Card|PFirst|PSecond|PThird|PSEL|table|slips\n");
        return 2;
    }
    const char* member = argv[2];
    const bool preview = std::strcmp(member, "table") == 0 || std::strcmp(member, "slips") == 0;
    const QByteArray connection = QByteArray("sqlite:") + argv[1];
    slp_object* pay = nullptr;
    slp_object* db = nullptr;
    if (slp_create_object("Sl_PAYPRN.打印工资", &pay) != SLP_OK ||
        slp_open_database(connection.constData(), &db) != SLP_OK) {
        std::fprintf(stderr, "create: %s\n", slp_last_error());
        return 1;
    }
    slp_value dbv = {SLP_OBJECT, nullptr, db};
    if (!(call(pay, "GetDB", &dbv) && putText(pay, "GetDWDM", "0101") &&
          putText(pay, "GetDWMC", "朔岚示范公司") && putText(pay, "GetRQ", "2000-04") &&
          putText(pay, "GetFXRQ", "25")))
        return 1;

    QElapsedTimer clock;
    QAction* action = nullptr;
    if (preview) {
        if (!call(pay, "PFirst", nullptr)) return 1;
        // Let the table settle (and fill whatever it fills after showing) before the timed click: its
        // grid may still be read on a thread of its own.
        for (int i = 0; i < 200; ++i) QApplication::processEvents();
        for (int i = 0; i < 6000 && !gridShown(); ++i) {
            QThread::msleep(10);
            QApplication::processEvents();
        }
        action = findAction(
            QString::fromLatin1(std::strcmp(member, "table") == 0 ? "MnuPrint_10" : "MnuPrint_15"));
        if (!action) {
            std::fprintf(stderr, "no preview menu on the employee table\n");
            return 1;
        }
    }
    const int before = visibleWindows();
    clock.start();
    if (preview) {
        action->trigger();
    } else if (!call(pay, member, nullptr)) {
        return 1;
    }
    const qint64 called = clock.elapsed();
    // Queued behind the show and expose events the call posted: it runs when the loop is free again.
    QTimer::singleShot(0, &app, [&] {
        const qint64 responsive = clock.elapsed();
        // A wage window may go on reading its grid while it takes input: the time its rows show.
        for (int i = 0; !preview && hasGrid() && i < 6000 && !gridShown(); ++i) {
            QThread::msleep(2);
            QApplication::processEvents();
        }
        const qint64 filled = clock.elapsed();
        std::printf("%s: call returned %lld ms, responsive %lld ms, rows shown %lld ms, windows %d -> %d\n",
                    member, static_cast<long long>(called), static_cast<long long>(responsive),
                    static_cast<long long>(filled), before, visibleWindows());
        QApplication::exit(0);
    });
    const int rc = QApplication::exec();
    std::fflush(stdout);
    std::_Exit(rc);  // the windows' own teardown is not part of the measurement
}
