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

// A server database's URL (postgresql://…, postgres://…), as opposed to a database file.
bool isServerUrl(const QString& database);
// The connection text of the database a command works on: a server URL as given, else "sqlite:" and
// the file of databaseFor().
QString connectionFor(const HostOptions& host);

}  // namespace slp::app
