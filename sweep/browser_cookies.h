// The cookie rows of a browser's cookie database: each row's site asked of the cookies to keep,
// the others counted and, when asked, deleted in one transaction.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sweep/browser_pass.h"

// The site of a cookie as the system browser's cookie entries name it, from the host a cookie
// database keeps: lower-cased, without the leading "." of a domain cookie or a trailing ".", an
// IPv6 address in brackets (Chromium keeps them so, Firefox without); nothing when that leaves
// no name.
std::optional<std::string> CookieHostSite(std::string_view host);

// Where a browser keeps its cookies: the table and its columns.
struct CookieTable {
    std::string_view table;
    std::string_view host;
    std::string_view name;
    std::string_view path;
};

// Every row, less those the cookies to keep keep, named "Cookie:NAME@HOST/PATH" after the
// profile's prefix. A table or column missing, or a trigger on the table, leaves it whole.
void SweepCookieTable(BrowserPass& pass, sqlite3* db, std::string_view database, const CookieTable& table);
