// The shared steps of a Chromium browser's pass: item names, the figures, the transaction.
#include "sweep/chromium_pass.h"

#include <sqlite3.h>

#include "sweep/sqlite_query.h"

std::string_view ChromiumPass::Name(std::initializer_list<std::string_view> parts) {
    name_ = prefix_;
    for (const std::string_view part : parts) name_.append(part);
    return name_;
}

bool ChromiumPass::Stop() {
    if (!result.stopped && observer.StopRequested()) result.stopped = true;
    return result.stopped;
}

void ChromiumPass::Found(Store store, Kind kind, std::string_view name) {
    observer.OnVisit({store, name});
    ++result[kind].found;
}

void ChromiumPass::Kept(std::string_view name) {
    observer.OnKept({Store::Cookie, name});
    ++result[Kind::Cookies].kept;
}

void ChromiumPass::Stayed(Store store, std::string_view name) {
    observer.OnStayed({store, name});
    ++result.stayed;
}

void ChromiumPass::LayoutProblem(std::string_view database, std::string_view problem) {
    result.layoutProblems.push_back(prefix_ + std::string(database) + ": " + std::string(problem));
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
