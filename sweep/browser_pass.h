// What the parts of another browser's pass share while they run over its profiles: item names,
// the figures, the stop, the test for a browser that runs, the databases opened before anything
// is deleted, and the one transaction in which each kind changes a database.
#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>

#include "platform/browser_services.h"
#include "sweep/browser_sweep.h"
#include "sweep/sqlite_query.h"
#include "sweep/sweep_observer.h"

class BrowserPass {
public:
    BrowserPass(const BrowserServices& services, const BrowserRequest& request, SweepObserver& observer,
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

    // site: a cookie's, as the cookies to keep take it.
    void Found(Store store, Kind kind, std::string_view name, std::string_view site = {});
    void Kept(std::string_view name, std::string_view site);
    void Stayed(Store store, std::string_view name);
    // A database whose layout this program does not know, or that is no database.
    void LayoutProblem(std::string_view database, std::string_view problem);

private:
    std::string prefix_;
    std::string name_;
};

// A running browser holds the file (its lockfile) open without sharing writes. The file's mere
// presence says nothing: some browsers leave it behind when they end.
bool HeldByAnotherProcess(ProfileFiles& files, const std::string& path);

// Opens the database named under the folder; one another process holds makes the browser in
// use, one that is no database or cannot be opened is named in the result.
DatabaseOpen OpenProfileDatabase(BrowserPass& pass, const std::string& folder, std::string_view name,
                                 ScopedDatabase& db);

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

// One kind's rows, read inside the transaction that deletes them: visit tells each row to the
// observer and says whether it is one to delete; once every row was read with no stop asked,
// remove deletes them (the number deleted, or nothing when it failed) and the change commits.
// A change that fails is told once, by the database's name.
template <class Visit, class Remove>
void SweepRows(BrowserPass& pass, sqlite3* db, std::string_view database, SqlStatement& rows, Kind kind, Store store,
               bool deleting, Visit visit, Remove remove) {
    WriteTransaction transaction(db);
    const bool writable = !deleting || transaction.Begin();
    int status = SQLITE_DONE;
    int doomed = 0;
    while (!pass.Stop() && (status = rows.Step()) == SQLITE_ROW) {
        if (visit()) ++doomed;
    }
    if (pass.result.stopped) return;
    if (status != SQLITE_DONE) {
        pass.result.complete = false;
        return;
    }
    if (!deleting || doomed == 0) return;
    std::optional<int> removed;
    if (writable) removed = remove();
    if (removed && transaction.Commit()) {
        pass.result[kind].deleted += *removed;
    } else {
        pass.Stayed(store, pass.Name({database}));
    }
}
