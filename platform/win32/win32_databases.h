// A browser's SQLite databases, opened as files of the system through SQLite's own Windows layer.
#pragma once

#include "platform/databases.h"

class Win32Databases final : public Databases {
public:
    DatabaseOpen Open(const std::string& path, sqlite3*& db) override;
    void Close(sqlite3* db) override;
};
