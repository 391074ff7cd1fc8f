// The shared steps of another browser's pass: item names, the figures, the in-use test, the
// databases' opening and the transaction.
#include "sweep/browser_pass.h"

#include <sqlite3.h>

#include "platform/errors.h"

std::string_view BrowserPass::Name(std::initializer_list<std::string_view> parts) {
    name_ = prefix_;
    for (const std::string_view part : parts) name_.append(part);
    return name_;
}

bool BrowserPass::Stop() {
    if (!result.stopped && observer.StopRequested()) result.stopped = true;
    return result.stopped;
}

void BrowserPass::Found(Store store, Kind kind, std::string_view name, std::string_view site) {
    observer.OnVisit({.store = store, .name = name, .site = site, .utf8 = true});
    ++result[kind].found;
}

void BrowserPass::Kept(std::string_view name, std::string_view site) {
    observer.OnKept({.store = Store::Cookie, .name = name, .site = site, .utf8 = true});
    ++result[Kind::Cookies].kept;
}

void BrowserPass::Stayed(Store store, std::string_view name) {
    observer.OnStayed({.store = store, .name = name, .utf8 = true});
    ++result.stayed;
}

void BrowserPass::LayoutProblem(std::string_view database, std::string_view problem) {
    result.layoutProblems.push_back(prefix_ + std::string(database) + ": " + std::string(problem));
}

bool HeldByAnotherProcess(ProfileFiles& files, const std::string& path) {
    return files.TryOpenForWriting(path) == kErrorSharingViolation;
}

DatabaseOpen OpenProfileDatabase(BrowserPass& pass, const std::string& folder, std::string_view name,
                                 ScopedDatabase& db) {
    const DatabaseOpen status = db.Open(folder + "\\" + std::string(name));
    switch (status) {
        case DatabaseOpen::Opened:
        case DatabaseOpen::Missing:
            break;
        case DatabaseOpen::Held:
            pass.result.inUse = true;
            break;
        case DatabaseOpen::NotADatabase:
            pass.LayoutProblem(name, "not a database");
            break;
        case DatabaseOpen::Failed:
            pass.LayoutProblem(name, "cannot be opened");
            pass.result.complete = false;
            break;
    }
    return status;
}

WriteTransaction::~WriteTransaction() {
    if (open_) Execute(db_, "ROLLBACK");
}

bool WriteTransaction::Begin() {
    // Overwrites what each deletion frees, so that it cannot be read in the file's free pages;
    // the journal mode and page size stay as the browser set them.
    open_ = Execute(db_, "PRAGMA secure_delete = ON") && Execute(db_, "BEGIN IMMEDIATE");
    return open_;
}

bool WriteTransaction::Commit() {
    if (!open_ || !Execute(db_, "COMMIT")) return false;
    open_ = false;
    return true;
}
