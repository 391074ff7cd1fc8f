// Stand-in databases: each is the bytes of a file of the in-memory profile tree, opened by
// SQLite itself from those bytes and written back when it is closed having changed. The same
// library reads and writes them as on Windows, a test can look at every byte of the file, and
// nothing touches the disk. What only a real file has (a journal, a write-ahead log, a lock
// taken by another process) is left to the Windows-side tests.
#pragma once

#include <map>
#include <string>

#include "platform/databases.h"
#include "platform/memory/faults.h"
#include "platform/memory/memory_profile_files.h"

class MemoryDatabases final : public Databases {
public:
    MemoryDatabases(MemoryProfileFiles& files, Faults& faults) : files_(files), faults_(faults) {}
    ~MemoryDatabases() override;
    MemoryDatabases(const MemoryDatabases&) = delete;
    MemoryDatabases& operator=(const MemoryDatabases&) = delete;

    // A file held (MemoryProfileFiles::Hold) refuses to open as Held; a read-only one opens but
    // refuses every write.
    DatabaseOpen Open(const std::string& path, sqlite3*& db) override;
    void Close(sqlite3* db) override;

    int OpenConnections() const { return static_cast<int>(open_.size()); }

private:
    MemoryProfileFiles& files_;
    Faults& faults_;
    // Each open connection and the file it writes back to.
    std::map<sqlite3*, std::string> open_;
};
