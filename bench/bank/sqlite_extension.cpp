// The query helpers and the text collation as a loadable SQLite extension, for the sqlite3
// command-line program:  sqlite3 wage.db ".load BUILD/lib/slp_sqlite_helpers" ".read card.sql"
// The extension calls SQLite through the shared library the program itself uses.
#include <sqlite3.h>

#include "data/jet/translate.h"

extern "C" __attribute__((visibility("default"))) int sqlite3_extension_init(sqlite3* db, char** error,
                                                                             const void* /*api*/) {
    const int rc = slp::jet::registerSqliteHelpers(db);
    if (rc != SQLITE_OK && error) *error = sqlite3_mprintf("%s", sqlite3_errstr(rc));
    return rc;
}
