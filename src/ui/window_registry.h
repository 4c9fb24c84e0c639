#pragma once
// The seven windows of the component, each created once per process on first request and shown
// modeless, or brought to the front when it is already open.
#include <QString>
#include <array>
#include <functional>
#include <memory>
#include <stdexcept>

#include "basic/error.h"
#include "data/host_context.h"

namespace slp {

enum class WindowId {
    CardExport,         // SlgzSJSC
    EmployeeTable,      // 工资输出表1
    DepartmentPayment,  // 工资输出表2
    DepartmentSummary,  // 工资输出表3
    SpecialPrint,       // 特殊打印设置
    PrintPreview,       // 工资MSGPRINT
    Query,              // SlgzGRCX
    SlipMail,           // 发送电子工资条 (the electronic slips)
};
inline constexpr int kWindowCount = 8;

// The window's own name, as the host's developers know it.
QString windowName(WindowId id);

// What the registry needs of a window.
class ManagedWindow {
  public:
    virtual ~ManagedWindow() = default;
    // Shows the window modeless; a closed window loads afresh (its opening steps run again),
    // an open one is only raised and keeps its contents. Throws slp::Error when opening fails.
    virtual void showOrRaise() = 0;
    virtual bool isOpen() const = 0;
};

class WindowRegistry {
  public:
    using Factory = std::function<std::unique_ptr<ManagedWindow>()>;

    explicit WindowRegistry(HostContext& context) : context_(context) {}

    void setFactory(WindowId id, Factory factory);
    bool hasFactory(WindowId id) const;
    // The instance, or nullptr when it has not been created yet.
    ManagedWindow* instance(WindowId id) const;
    // Creates the instance on first request. Throws slp::Error (number 0) naming the missing window
    // when no factory exists for it.
    ManagedWindow& obtain(WindowId id);
    // obtain + showOrRaise.
    void open(WindowId id);
    // A window reports its closing here: the employee table, the department payment table and the
    // department summary release the host database.
    void windowClosed(WindowId id);
    // Destroys every instance (end of the process, tests).
    void destroyAll();

  private:
    HostContext& context_;
    std::array<Factory, kWindowCount> factories_{};
    std::array<std::unique_ptr<ManagedWindow>, kWindowCount> instances_{};
};

// The registry of this process.
WindowRegistry& windowRegistry();

}  // namespace slp
