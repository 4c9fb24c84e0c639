#pragma once
#include <QString>

#include "command_line.h"

namespace slp::app {

// Where the demo database lives when no --db is given: $XDG_DATA_HOME/Sl_PAYPRN/demo.db
// (~/.local/share/Sl_PAYPRN/demo.db when unset).
QString defaultDatabasePath();

// The database file a command works on: --db when given, else the demo database, created on first use.
// Throws slp::Error when the demo database cannot be created.
QString databaseFor(const HostOptions& host);

}  // namespace slp::app
