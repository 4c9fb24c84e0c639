#include "ui/window_registry.h"

using namespace Qt::StringLiterals;

namespace slp {

QString windowName(WindowId id) {
    switch (id) {
        case WindowId::CardExport:
            return u"SlgzSJSC"_s;
        case WindowId::EmployeeTable:
            return u"工资输出表1"_s;
        case WindowId::DepartmentPayment:
            return u"工资输出表2"_s;
        case WindowId::DepartmentSummary:
            return u"工资输出表3"_s;
        case WindowId::SpecialPrint:
            return u"特殊打印设置"_s;
        case WindowId::PrintPreview:
            return u"工资MSGPRINT"_s;
        case WindowId::Query:
            return u"SlgzGRCX"_s;
        case WindowId::SlipMail:
            return u"发送电子工资条"_s;
    }
    return QString();
}

void WindowRegistry::setFactory(WindowId id, Factory factory) {
    factories_[static_cast<size_t>(id)] = std::move(factory);
}

bool WindowRegistry::hasFactory(WindowId id) const {
    return bool(factories_[static_cast<size_t>(id)]);
}

ManagedWindow* WindowRegistry::instance(WindowId id) const {
    return instances_[static_cast<size_t>(id)].get();
}

ManagedWindow& WindowRegistry::obtain(WindowId id) {
    auto& slot = instances_[static_cast<size_t>(id)];
    if (!slot) {
        const auto& factory = factories_[static_cast<size_t>(id)];
        if (!factory) {
            throw MissingWindowError(u"窗口“"_s + windowName(id) + u"”尚未实现,此版本的组件不能打开它。"_s);
        }
        slot = factory();
        if (!slot) throw MissingWindowError(u"窗口“"_s + windowName(id) + u"”无法创建。"_s);
    }
    return *slot;
}

void WindowRegistry::open(WindowId id) {
    obtain(id).showOrRaise();
}

void WindowRegistry::windowClosed(WindowId id) {
    switch (id) {
        case WindowId::EmployeeTable:
        case WindowId::DepartmentPayment:
        case WindowId::DepartmentSummary:
            context_.database.reset();
            break;
        default:
            break;
    }
}

void WindowRegistry::destroyAll() {
    for (auto& w : instances_) w.reset();
}

WindowRegistry& windowRegistry() {
    // Never destroyed, like the windows it holds: they must not be torn down after the application object.
    static WindowRegistry* registry = new WindowRegistry(hostContext());
    return *registry;
}

}  // namespace slp
