#include "app/shared/host_database.h"

#include "basic/error.h"

using namespace Qt::StringLiterals;

namespace slp::windows {

QString noDatabaseDescription() {
    return u"对象变量或 With 块变量未设置"_s;
}

data::Database& requireDatabase(const HostContext& context) {
    if (!context.database) throw Error(kNoDatabaseError, noDatabaseDescription());
    return *context.database;
}

}  // namespace slp::windows
