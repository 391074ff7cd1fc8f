// What the parts of a Chromium browser's pass share while they run over one profile.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/browser_services.h"
#include "sweep/browser_sweep.h"
#include "sweep/sweep_observer.h"

struct sqlite3;

class ChromiumPass {
public:
    ChromiumPass(const BrowserServices& services, const BrowserRequest& request, SweepObserver& observer,
                 BrowserResult& result)
        : services(services), request(request), observer(observer), result(result) {}

    const BrowserServices& services;
    const BrowserRequest& request;
    SweepObserver& observer;
    BrowserResult& result;

    // "edge:Default:", before every item's name in this profile.
    void SetProfile(std::string prefix) { prefix_ = std::move(prefix); }
    // The item's name: the profile's prefix and the parts; valid until the next call.
    std::string_view Name(std::initializer_list<std::string_view> parts);

    bool Counts(Kind kind) const { return request.count.Has(kind) || request.remove.Has(kind); }
    // Nothing is deleted while the browser is in use.
    bool Deletes(Kind kind) const { return !result.inUse && request.remove.Has(kind); }
    // True once a stop was asked for; from then on nothing more is touched.
    bool Stop();

    void Found(Store store, Kind kind, std::string_view name);
    void Kept(std::string_view name);
    void Stayed(Store store, std::string_view name);
    // A database whose layout this program does not know, or that is no database.
    void LayoutProblem(std::string_view database, std::string_view problem);

private:
    std::string prefix_;
    std::string name_;
};

// Runs one kind's change of one database as one transaction: begun before its rows are read,
// so that the rows told to the observer are the rows deleted, and rolled back unless committed.
class WriteTransaction {
public:
    explicit WriteTransaction(sqlite3* db) : db_(db) {}
    ~WriteTransaction();
    WriteTransaction(const WriteTransaction&) = delete;
    WriteTransaction& operator=(const WriteTransaction&) = delete;

    // Deleted content is overwritten, then the write lock taken; false when the database
    // cannot be written.
    bool Begin();
    bool Commit();

private:
    sqlite3* db_;
    bool open_ = false;
};
