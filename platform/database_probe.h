// What both database services do once SQLite has a connection to a file: read its schema, and
// tell from SQLite's answer whether the file is a database another process holds, or none.
#pragma once

#include "platform/databases.h"

// On a connection just opened. Anything but Opened leaves it for the caller to close.
DatabaseOpen ProbeDatabase(sqlite3* db);
