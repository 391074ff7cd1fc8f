// The SQLite databases of a browser's profile, opened as files of the system: a database the
// browser holds is told apart from one that is missing and from a file that is no database.
// Once open, a connection is SQLite's own, the same portable library everywhere.
#pragma once

#include <string>

struct sqlite3;

enum class DatabaseOpen {
    Opened,
    Missing,
    // Another process holds the file: opened without sharing (a running browser's cookies), or
    // locked by a connection in exclusive locking mode (its other databases).
    Held,
    // The file is there but SQLite cannot read it as a database (or it is damaged).
    NotADatabase,
    Failed,
};

class Databases {
public:
    virtual ~Databases() = default;

    // Opens an existing database for reading and writing (read-only when the file cannot be
    // written), never creating one, and reads its schema once, so that a file another process
    // holds is found here. Opened: db is a connection for Close; otherwise db is null.
    virtual DatabaseOpen Open(const std::string& path, sqlite3*& db) = 0;
    virtual void Close(sqlite3* db) = 0;
};

// One open database, closed when the owner goes.
class ScopedDatabase {
public:
    explicit ScopedDatabase(Databases& databases) : databases_(databases) {}
    ~ScopedDatabase() { Close(); }
    ScopedDatabase(const ScopedDatabase&) = delete;
    ScopedDatabase& operator=(const ScopedDatabase&) = delete;

    DatabaseOpen Open(const std::string& path) {
        Close();
        return databases_.Open(path, db_);
    }
    sqlite3* Get() const { return db_; }
    void Close() {
        if (db_ != nullptr) databases_.Close(db_);
        db_ = nullptr;
    }

private:
    Databases& databases_;
    sqlite3* db_ = nullptr;
};
