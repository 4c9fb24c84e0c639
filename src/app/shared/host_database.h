#pragma once
// The host's database as a window reaches it: through HostContext, which is empty after a wage window
// has closed until the host sets it again.
#include "data/database.h"
#include "data/host_context.h"

namespace slp::windows {

// Error number and description when the host has set no database (the host's "object variable not set").
inline constexpr int kNoDatabaseError = 91;
QString noDatabaseDescription();  // "对象变量或 With 块变量未设置"

// The context's database; throws slp::Error 91 when there is none.
data::Database& requireDatabase(const HostContext& context);

}  // namespace slp::windows
