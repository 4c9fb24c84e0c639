// The C interface: plays the automation runtime for hosts written in any language.
#include <QApplication>
#include <QGuiApplication>
#include <QThread>
#include <QWidget>
#include <exception>
#include <memory>
#include <mutex>
#include <new>
#include <string>
#include <unordered_map>

#include "basic/error.h"
#include "data/database.h"
#include "entry/installed_windows.h"
#include "entry/打印工资.h"
#include "slpayprn.h"

using namespace Qt::StringLiterals;

struct slp_object {
    enum Kind { Component, DatabaseObject } kind;
    std::unique_ptr<slp::打印工资> component;
    std::shared_ptr<slp::data::Database> database;
};

namespace {

thread_local std::string lastError;

// The objects handed out and not yet released: any other pointer is refused, never followed. A call
// holds its own reference to the object for its length, so a release on another thread meanwhile only
// takes the object off this list; the object goes when the last call on it ends.
std::mutex liveMutex;
std::unordered_map<const slp_object*, std::shared_ptr<slp_object>>& liveObjects() {
    static auto* objects = new std::unordered_map<const slp_object*, std::shared_ptr<slp_object>>;
    return *objects;  // never destroyed
}

std::shared_ptr<slp_object> lookUp(const slp_object* obj) {
    const std::lock_guard lock(liveMutex);
    const auto at = liveObjects().find(obj);
    return at == liveObjects().end() ? nullptr : at->second;
}

slp_object* adopt(std::unique_ptr<slp_object> obj) {
    slp_object* pointer = obj.get();
    const std::lock_guard lock(liveMutex);
    liveObjects().emplace(pointer, std::shared_ptr<slp_object>(std::move(obj)));
    return pointer;
}

// The entries that read or write the process's host context and window registry run one at a time,
// whatever thread calls them. Recursive: a window's nested event loop may call in again on its thread.
std::recursive_mutex& entryMutex() {
    static auto* mutex = new std::recursive_mutex;  // never destroyed: a host may call at exit
    return *mutex;
}

// Once the process has an application object, what windows read (the host context, the registry) is
// theirs: only the thread of the application object may open windows or set what they read.
bool onWindowThread() {
    const QCoreApplication* app = QCoreApplication::instance();
    return !app || app->thread() == QThread::currentThread();
}

int32_t finish(int32_t code, const QString& description = QString()) {
    lastError = code == SLP_OK ? std::string() : description.toStdString();
    return code;
}

int32_t notLive() {
    return finish(SLP_E_HANDLE, u"对象指针无效：对象已释放或不是本组件创建的。"_s);
}

int32_t wrongThread(const char* member) {
    return finish(SLP_RPC_E_WRONG_THREAD, QString::fromUtf8(member) +
                                              u" 只能在运行窗口的线程（创建 QApplication 的线程）中调用："_s
                                              u"窗口读取的宿主设置属于该线程。"_s);
}

// No exception may leave a C entry: whatever escapes the call becomes a status.
template <typename Call>
int32_t guarded(Call call) noexcept {
    try {
        return call();
    } catch (const slp::Error& e) {
        return finish(SLP_DISP_E_EXCEPTION,
                      e.description() + u" (错误号 "_s + QString::number(e.number()) + u')');
    } catch (const std::bad_alloc&) {
        return finish(SLP_E_OUTOFMEMORY, u"内存不足。"_s);
    } catch (const std::exception& e) {
        return finish(SLP_DISP_E_EXCEPTION, QString::fromUtf8(e.what()));
    } catch (...) {
        return finish(SLP_E_UNEXPECTED, u"意外的错误。"_s);
    }
}

int32_t statusOf(const slp::Status& s) {
    return finish(s.code, s.description);
}

struct Member {
    const char* name;
    bool isPut;
};
// In the order of the interface: the dispatch id is the index + 1.
constexpr Member kMembers[] = {
    {"Card", false},   {"PFirst", false}, {"PSecond", false}, {"PThird", false}, {"PSEL", false},
    {"GetDWDM", true}, {"GetDWMC", true}, {"GetRQ", true},    {"GetDB", true},   {"GetFXRQ", true},
};
constexpr int32_t kMemberCount = int32_t(sizeof kMembers / sizeof kMembers[0]);

// Windows need a QApplication; a host without Qt gets one made here, on its thread.
bool ensureApplication(QString* why) {
    if (auto* core = QCoreApplication::instance()) {
        if (qobject_cast<QApplication*>(core)) return true;
        *why = u"宿主程序的 Qt 应用对象不是 QApplication,不能显示窗口。"_s;
        return false;
    }
    static int argc = 1;
    static char name[] = "Sl_PAYPRN";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
    slp::installComponentWindows(slp::windowRegistry());
    return true;
}

int32_t invokeMethod(slp::打印工资& c, int32_t dispid) {
    QString why;
    if (!ensureApplication(&why)) return finish(SLP_E_UNEXPECTED, why);
    slp::installComponentWindows(slp::windowRegistry());
    slp::Status s;
    switch (dispid) {
        case 1:
            s = c.Card();
            break;
        case 2:
            s = c.PFirst();
            break;
        case 3:
            s = c.PSecond();
            break;
        case 4:
            s = c.PThird();
            break;
        default:
            s = c.PSEL();
            break;
    }
    return finish(s.code, s.description);
}

int32_t invokePut(slp::打印工资& c, int32_t dispid, const slp_value* arg) {
    const char* name = kMembers[dispid - 1].name;
    if (!arg) return finish(SLP_DISP_E_BADPARAMCOUNT, QString::fromUtf8(name) + u" 需要一个参数。"_s);
    if (dispid == 9) {  // GetDB: a database object, or empty to release it
        if (arg->type == SLP_EMPTY) {
            c.GetDB(nullptr);
            return finish(SLP_OK);
        }
        const std::shared_ptr<slp_object> given =
            arg->type == SLP_OBJECT && arg->object ? lookUp(arg->object) : nullptr;
        if (arg->type == SLP_OBJECT && arg->object && !given) return notLive();
        if (arg->type != SLP_OBJECT || !given || given->kind != slp_object::DatabaseObject) {
            return finish(SLP_DISP_E_TYPEMISMATCH, u"GetDB 的参数不是数据库对象;数据库保持原值。"_s);
        }
        c.GetDB(given->database);
        return finish(SLP_OK);
    }
    QString text;
    if (arg->type == SLP_TEXT) {
        text = QString::fromUtf8(arg->text ? arg->text : "");
    } else if (arg->type != SLP_EMPTY) {
        return finish(SLP_DISP_E_TYPEMISMATCH, QString::fromUtf8(name) + u" 的参数应为文本。"_s);
    }
    switch (dispid) {
        case 6:
            return statusOf(c.GetDWDM(text));
        case 7:
            return statusOf(c.GetDWMC(text));
        case 8:
            return statusOf(c.GetRQ(text));
        default:
            c.GetFXRQ(text);
            return finish(SLP_OK);
    }
}

}  // namespace

extern "C" {

int32_t slp_create_object(const char* prog_id, slp_object** out) {
    if (!prog_id || !out) return finish(SLP_E_POINTER, u"空指针参数。"_s);
    *out = nullptr;
    return guarded([&] {
        if (QString::fromUtf8(prog_id).compare(u"Sl_PAYPRN.打印工资"_s, Qt::CaseInsensitive) != 0) {
            return finish(SLP_CO_E_CLASSSTRING, u"未知的类名:"_s + QString::fromUtf8(prog_id));
        }
        const std::lock_guard entry(entryMutex());
        *out = adopt(std::make_unique<slp_object>(
            slp_object{slp_object::Component, std::make_unique<slp::打印工资>(), nullptr}));
        return finish(SLP_OK);
    });
}

int32_t slp_get_dispid(slp_object* obj, const char* member, int32_t* dispid) {
    if (!obj || !member || !dispid) return finish(SLP_E_POINTER, u"空指针参数。"_s);
    const std::shared_ptr<slp_object> held = lookUp(obj);
    if (!held) return notLive();
    return guarded([&] {
        if (held->kind != slp_object::Component) {
            return finish(SLP_DISP_E_UNKNOWNNAME, u"数据库对象没有成员。"_s);
        }
        const QString name = QString::fromUtf8(member);
        for (int32_t i = 0; i < kMemberCount; ++i) {
            if (name.compare(QLatin1StringView(kMembers[i].name), Qt::CaseInsensitive) == 0) {
                *dispid = i + 1;
                return finish(SLP_OK);
            }
        }
        return finish(SLP_DISP_E_UNKNOWNNAME, u"未知的成员名:"_s + name);
    });
}

int32_t slp_invoke(slp_object* obj, int32_t dispid, const slp_value* arg) {
    if (!obj) return finish(SLP_E_POINTER, u"空指针参数。"_s);
    const std::shared_ptr<slp_object> held = lookUp(obj);
    if (!held) return notLive();
    if (held->kind != slp_object::Component || dispid < 1 || dispid > kMemberCount) {
        return finish(SLP_DISP_E_MEMBERNOTFOUND, u"没有这个调度号的成员:"_s + QString::number(dispid));
    }
    return guarded([&] {
        const std::lock_guard entry(entryMutex());
        if (!onWindowThread()) return wrongThread(kMembers[dispid - 1].name);
        if (!kMembers[dispid - 1].isPut) {
            if (arg && arg->type != SLP_EMPTY) {
                return finish(SLP_DISP_E_BADPARAMCOUNT,
                              QString::fromUtf8(kMembers[dispid - 1].name) + u" 不带参数。"_s);
            }
            return invokeMethod(*held->component, dispid);
        }
        return invokePut(*held->component, dispid, arg);
    });
}

int32_t slp_run_message_loop(void) {
    return guarded([] {
        if (!onWindowThread()) return wrongThread("slp_run_message_loop");
        QString why;
        if (!ensureApplication(&why)) return finish(SLP_E_UNEXPECTED, why);
        bool anyVisible = false;
        for (QWidget* w : QApplication::topLevelWidgets()) anyVisible = anyVisible || w->isVisible();
        if (anyVisible) QApplication::exec();
        return finish(SLP_OK);
    });
}

int32_t slp_open_database(const char* connection, slp_object** out) {
    if (!connection || !out) return finish(SLP_E_POINTER, u"空指针参数。"_s);
    *out = nullptr;
    try {
        auto db = std::make_shared<slp::data::Database>(QString::fromUtf8(connection));
        *out = adopt(
            std::make_unique<slp_object>(slp_object{slp_object::DatabaseObject, nullptr, std::move(db)}));
        return finish(SLP_OK);
    } catch (const slp::Error& e) {
        return finish(SLP_E_DATABASE, e.description() + u" (错误号 "_s + QString::number(e.number()) + u')');
    } catch (const std::exception& e) {
        return finish(SLP_E_DATABASE, QString::fromUtf8(e.what()));
    } catch (...) {
        return finish(SLP_E_DATABASE, u"意外的错误。"_s);
    }
}

const char* slp_last_error(void) {
    return lastError.c_str();
}

const char* slp_version(void) {
    return SLP_VERSION_TEXT;
}

void slp_release(slp_object* obj) {
    if (!obj) return;
    std::shared_ptr<slp_object> held;
    {
        const std::lock_guard lock(liveMutex);
        // A pointer released before, or never handed out, is left alone.
        const auto at = liveObjects().find(obj);
        if (at == liveObjects().end()) {
            finish(SLP_E_HANDLE, u"对象指针无效：对象已释放或不是本组件创建的。"_s);
            return;
        }
        held = std::move(at->second);
        liveObjects().erase(at);
    }
    // A release that succeeds leaves slp_last_error as it was: a host may release its objects between
    // a failing call and reading why it failed. The object goes now, or when a call on another thread
    // that still holds it ends.
    guarded([&] {
        const std::lock_guard entry(entryMutex());
        held.reset();
        return SLP_OK;
    });
}

}  // extern "C"
