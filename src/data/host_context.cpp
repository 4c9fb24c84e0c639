#include "data/host_context.h"

namespace slp {

HostContext& hostContext() {
    // Never destroyed: at process exit Qt's own globals (the SQL connection list among them) may
    // already be gone, and the database reference must not outlive them.
    static HostContext* context = new HostContext;
    return *context;
}

}  // namespace slp
