// Databases over the bytes of in-memory files: sqlite3_deserialize when opened, sqlite3_serialize
// when closed.
#include "platform/memory/memory_databases.h"

#include <sqlite3.h>

#include <cstring>

#include "platform/database_probe.h"

MemoryDatabases::~MemoryDatabases() {
    while (!open_.empty()) Close(open_.begin()->first);
}

DatabaseOpen MemoryDatabases::Open(const std::string& path, sqlite3*& db) {
    db = nullptr;
    if (faults_.Hit("OpenDatabase")) return DatabaseOpen::Failed;
    if (files_.IsHeld(path)) return DatabaseOpen::Held;
    const auto content = files_.ReadFile(path);
    if (!content) return files_.IsFolder(path) ? DatabaseOpen::Failed : DatabaseOpen::Missing;

    sqlite3* opened = nullptr;
    if (sqlite3_open_v2(":memory:", &opened, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) != SQLITE_OK) {
        sqlite3_close(opened);
        return DatabaseOpen::Failed;
    }
    const auto size = static_cast<sqlite3_int64>(content->size());
    auto* image = static_cast<unsigned char*>(sqlite3_malloc64(content->empty() ? 1 : content->size()));
    if (image != nullptr) std::memcpy(image, content->data(), content->size());
    unsigned flags = SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_RESIZEABLE;
    if (files_.IsReadOnly(path)) flags = SQLITE_DESERIALIZE_FREEONCLOSE | SQLITE_DESERIALIZE_READONLY;
    // The image is freed by SQLite, also when this fails.
    if (image == nullptr || sqlite3_deserialize(opened, "main", image, size, size, flags) != SQLITE_OK) {
        sqlite3_close(opened);
        return DatabaseOpen::Failed;
    }
    const DatabaseOpen probed = ProbeDatabase(opened);
    if (probed != DatabaseOpen::Opened) {
        sqlite3_close(opened);
        return probed;
    }
    open_[opened] = path;
    db = opened;
    return DatabaseOpen::Opened;
}

void MemoryDatabases::Close(sqlite3* db) {
    const auto found = open_.find(db);
    if (found == open_.end()) return;
    if (sqlite3_total_changes64(db) > 0) {
        sqlite3_int64 size = 0;
        if (unsigned char* bytes = sqlite3_serialize(db, "main", &size, 0)) {
            files_.WriteFile(found->second,
                             std::string(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size)));
            sqlite3_free(bytes);
        }
    }
    sqlite3_close(db);
    open_.erase(found);
}
