// The cookie rows are read inside the transaction that deletes them, and deleted by rowid: the
// rows told to the observer are exactly the rows deleted.
#include "sweep/browser_cookies.h"

#include <array>
#include <cstdint>
#include <vector>

#include "platform/ascii_case.h"

std::optional<std::string> CookieHostSite(std::string_view host) {
    if (host.starts_with('.')) host.remove_prefix(1);
    if (host.ends_with('.')) host.remove_suffix(1);
    if (host.empty()) return std::nullopt;
    std::string site = AsciiLowered(std::string(host));
    // No host name holds a colon, and a cookie's host holds no port: only an IPv6 address does.
    if (site.find(':') != std::string::npos && site.front() != '[') site = "[" + site + "]";
    return site;
}

void SweepCookieTable(BrowserPass& pass, sqlite3* db, std::string_view database, const CookieTable& table) {
    const std::array columns{table.host, table.name, table.path};
    const std::array layout{TableLayout{table.table, columns}};
    if (const std::string problem = LayoutProblem(db, layout); !problem.empty()) {
        pass.LayoutProblem(database, problem);
        return;
    }
    const std::string tableName(table.table);
    SqlStatement rows(db, "SELECT rowid, " + std::string(table.host) + ", " + std::string(table.name) + ", " +
                              std::string(table.path) + " FROM " + tableName);
    if (!rows.Ok()) {
        pass.LayoutProblem(database, sqlite3_errmsg(db));
        return;
    }
    std::vector<std::int64_t> doomed;
    const auto visit = [&] {
        const std::string_view host = rows.Text(1);
        const std::string_view name = pass.Name({"Cookie:", rows.Text(2), "@", host, rows.Text(3)});
        const auto site = CookieHostSite(host);
        const std::string_view siteName = site ? std::string_view(*site) : std::string_view();
        if (site && pass.request.keepCookie && pass.request.keepCookie(*site)) {
            pass.Kept(name, siteName);
            return false;
        }
        pass.Found(Store::Cookie, Kind::Cookies, name, siteName);
        doomed.push_back(rows.Int(0));
        return true;
    };
    const auto remove = [&]() -> std::optional<int> {
        SqlStatement row(db, "DELETE FROM " + tableName + " WHERE rowid = ?1");
        for (const std::int64_t rowid : doomed) {
            row.Reset();
            row.Bind(1, rowid);
            if (row.Step() != SQLITE_DONE) return std::nullopt;
        }
        return static_cast<int>(doomed.size());
    };
    SweepRows(pass, db, database, rows, Kind::Cookies, Store::Cookie, pass.Deletes(Kind::Cookies), visit, remove);
}
