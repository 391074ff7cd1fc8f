// Reading the schema is the first read of the file: SQLite takes its shared lock then, so a
// database that another connection holds in exclusive locking mode answers "busy" here.
#include "platform/database_probe.h"

#include <sqlite3.h>

DatabaseOpen ProbeDatabase(sqlite3* db) {
    // No busy handler: a browser that holds its database holds it for as long as it runs.
    sqlite3_busy_timeout(db, 0);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    switch (sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr) & 0xff) {
        case SQLITE_OK:
            return DatabaseOpen::Opened;
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            return DatabaseOpen::Held;
        case SQLITE_NOTADB:
        case SQLITE_CORRUPT:
            return DatabaseOpen::NotADatabase;
        default:
            return DatabaseOpen::Failed;
    }
}
