// The cookies to keep: a cookie entry's site, reading the list, the rule, and what a user types.
#include "sweep/cookie_keep.h"

#include <gtest/gtest.h>

#include "sweep/punycode.h"

namespace {

using namespace std::string_view_literals;
using Site = std::optional<std::string>;
using Sites = std::vector<std::string>;

// Basic code points in their case and a label of nothing else, which no host name a user types
// reaches; the names below check the rest.
TEST(CookieKeepTest, PunycodeEncodesTheSamplesOfItsRfc) {
    EXPECT_EQ(PunycodeEncode(U"Pro\u010Dprost\u011Bnemluv\u00ED\u010Desky"), "Proprostnemluvesky-uyb24dma41a");
    EXPECT_EQ(PunycodeEncode(U"-> $1.00 <-"), "-> $1.00 <--");
}

TEST(CookieKeepTest, CookieSiteIsTheHostOfTheEntry) {
    const struct {
        const char* url;
        Site site;
    } cases[] = {
        {"cookie: ann@Mail.Bank.Example.:8080/path", "mail.bank.example"},
        {"Cookie: bank.example/", "bank.example"},
        {"Cookie:ann@[FE80::1]:8080/", "[fe80::1]"},
        {"Cookie:ann@fe80::1/", "fe80::1"},
        // The user's own name may hold an "@"; the path may too.
        {"Cookie:ann@home@bank.example/a@b/", "bank.example"},
        {"Cookie:ann@.:80/", std::nullopt},
        {"Cookie:ann@[::1/", std::nullopt},
        {"Visited: ann@http://bank.example/", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(CookieSite(c.url), c.site) << c.url;
}

// Each row: one kept site, the sites whose cookies it keeps, and look-alikes it must not keep.
TEST(CookieKeepTest, KeptSiteKeepsItselfTheNamesUnderItAndItsParentsDownToTwoLabels) {
    const struct {
        const char* kept;
        std::vector<const char*> keeps;
        std::vector<const char*> not_;
    } rows[] = {
        {"login.bank.example",
         {"login.bank.example", "eu.login.bank.example", "bank.example", ".bank.example", ".login.bank.example"},
         {"example", "other.bank.example", "www.bank.example", "evilbank.example", "bank.example.evil",
          "notlogin.bank.example", "login.bank.example.evil"}},
        {"bank.example",
         {"bank.example", "www.bank.example", "login.eu.bank.example"},
         {"example", "mybank.example", "evilbank.example", "bank.example.evil", "bank.example.net"}},
        // "www." and "." widen a name to the domain without it, "www." not up to a name of one label.
        {"www.shop.example", {"shop.example", "cart.shop.example", "www.shop.example"}, {"example", "other.example"}},
        {".news.example", {"news.example", "a.b.news.example"}, {"example"}},
        {"www.example", {"www.example", "a.www.example"}, {"example", "other.example"}},
        {"a.b.c.example", {"b.c.example", "c.example"}, {"example", "x.c.example", "x.b.c.example"}},
        {"intranet", {"intranet", "wiki.intranet"}, {"intranet.example"}},
        {"my_site.example", {"my_site.example", "a.my_site.example"}, {"myxsite.example", "site.example"}},
        // An address keeps only itself, in any spelling, and is no suffix of a name.
        {"192.168.1.10", {"192.168.1.10"}, {"192.168.1.100", "5.192.168.1.10", "168.1.10", "1.10"}},
        {"[::1]", {"[0:0:0:0:0:0:0:1]", "::1"}, {"[::2]"}},
    };
    for (const auto& row : rows) {
        const auto list = KeptSites::Read({row.kept});
        ASSERT_TRUE(list) << row.kept;
        for (const char* site : row.keeps) EXPECT_TRUE(list->Keeps(site)) << row.kept << " keeps " << site;
        for (const char* site : row.not_) EXPECT_FALSE(list->Keeps(site)) << row.kept << " keeps " << site;
    }
    const auto list = KeptSites::Read({"login.bank.example"});
    EXPECT_TRUE(list->KeepsCookie("Cookie:ann@bank.example/"));
    EXPECT_FALSE(list->KeepsCookie("Cookie:ann@other.bank.example/"));
    EXPECT_FALSE(list->KeepsCookie("http://login.bank.example/"));
}

TEST(CookieKeepTest, ListIsReadWholeOrNotAtAll) {
    const std::string label63(63, 'a');
    const std::string name253 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'd');
    for (const char* bad : {"Bank.example",      "exa mple.com",  "*.bank.example",
                            "b\xc3\xbc.example", "-bank.example", "bank-.example",
                            "bank..example",     "bank.example.", ".",
                            "192.168.1.256",     "192.168.01.10", "192.168.1",
                            "1.2.3.4.5",         "[1.2.3.4]",     "[::1",
                            "[FE80::1]",         "1::2::3",       "1:2:3:4:5:6:7:8:9",
                            "1:2:3:4:5:6:7::8",  "fe80::1%1",     "12345::1",
                            "1:2:3:4:5:6:7:",    "1.2.3.4::1"})
        EXPECT_FALSE(KeptSites::Read({"bank.example", bad})) << bad;
    for (const std::string& tooLong : {label63 + "a.example", name253 + "d"}) EXPECT_FALSE(KeptSites::Read({tooLong}));
    const auto readable =
        KeptSites::Read({"www.bank.example", "10.0.0.1", "www.bank.example", ".a.example", "10.example", "::1",
                         "[::ffff:1.2.3.4]", label63 + ".example", name253, "_dmarc.my_site.example"});
    ASSERT_TRUE(readable);
    EXPECT_EQ(readable->Sites().size(), 9u) << "a site given twice is there once";

    const struct {
        std::string_view data;
        std::optional<Sites> sites;
    } values[] = {
        {"b.example\0a.example"sv, Sites{"a.example", "b.example"}},
        {"a.example\0\0\0\0"sv, Sites{"a.example"}},
        {""sv, Sites{}},
        {"\0\0"sv, Sites{}},
        {"a.example\0\0b.example\0\0"sv, std::nullopt},
    };
    for (const auto& value : values) {
        const auto list = KeptSites::ReadMultiSz(std::vector<std::uint8_t>(value.data.begin(), value.data.end()));
        EXPECT_EQ(list ? std::optional(list->Sites()) : std::nullopt, value.sites) << value.data;
    }
}

TEST(CookieKeepTest, AddAndRemoveKeepTheListValidAndTheRuleCurrent) {
    KeptSites list;
    for (const char* site : {"www.bank.example", "10.0.0.1", "::1", "[0::1]"}) EXPECT_TRUE(list.Add(site)) << site;
    EXPECT_FALSE(list.Add("www.bank.example"));
    EXPECT_FALSE(list.Add("Bank.example"));
    EXPECT_EQ(list.Sites(), (Sites{"10.0.0.1", "::1", "[0::1]", "www.bank.example"}));
    EXPECT_TRUE(list.Keeps("bank.example"));

    EXPECT_FALSE(list.Remove("bank.example")) << "only the site as it is written";
    EXPECT_TRUE(list.Remove("[::1]")) << "every spelling of the address";
    EXPECT_TRUE(list.Remove("www.bank.example"));
    EXPECT_FALSE(list.Keeps("bank.example"));
    EXPECT_TRUE(list.Keeps("10.0.0.1"));
    EXPECT_EQ(list, KeptSites::Read({"10.0.0.1"}));
}

TEST(CookieKeepTest, WhatTheUserTypesBecomesTheSiteStored) {
    const struct {
        std::string typed;
        std::string site;
    } cases[] = {
        {"  WWW.Bank.Example.\t", "www.bank.example"},
        {".bank.example", ".bank.example"},
        {"bank.example:", "bank.example"},
        {"HTTPS://ann@home:secret@Mail.Bank.Example:8443/inbox?folder=a/b#top", "mail.bank.example"},
        {"bank.example?next=http://other.example/", "bank.example"},
        {"http://192.168.1.10:8080/", "192.168.1.10"},
        {"http://[FE80::1]:8080/", "[fe80::1]"},
        {"FE80::1", "[fe80::1]"},
        {"B\xc3\x96rse.de", "xn--brse-5qa.de"},
        {"\xc5\x81\xc3\xb3\x64\xc5\xba.pl", "xn--d-uga0v4h.pl"},
        {"\xce\x95\xce\x9b\xce\x9b\xce\x86\xce\x94\xce\x91.example", "xn--hxakic4aa.example"},
        {"\xd0\xbf\xd1\x80\xd0\xb8\xd0\xbc\xd0\xb5\xd1\x80.\xd0\xa0\xd0\xa4", "xn--e1afmkfd.xn--p1ai"},
        {"\xe4\xbb\x96\xe4\xbb\xac\xe4\xb8\xba\xe4\xbb\x80\xe4\xb9\x88\xe4\xb8\x8d\xe8\xaf\xb4\xe4\xb8\xad\xe6\x96\x87"
         "\xe3\x80\x82org",
         "xn--ihqwcrb4cv8a8dqg056pqjye.org"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SiteFromUserInput(c.typed), c.site) << c.typed;
        EXPECT_TRUE(KeptSites::Read({c.site})) << c.site;
    }
    // No scheme, host name, port or address as typed; "--" third and fourth; not UTF-8 (a code page's
    // ü), a decomposed ü, İ, ẞ, a script without a table, a hyphen at an end: each refused with
    // the reason a user can act on.
    const struct {
        const char* typed;
        const char* reason;
    } refused[] = {
        {"://bank.example", "no scheme comes before"},
        {"http://", "it names no host"},
        {"ht tp://bank.example", "'ht tp' is no URL scheme"},
        {"bank..example", "empty label"},
        {"bank example", "' ' cannot be part of a host name"},
        {"bank.example:https", "'https' is no port"},
        {"bank.example:65536", "'65536' is no port"},
        {"[::1]x", "only a ':' and a port may follow"},
        {"[::1", "lacks its closing ']'"},
        {"[bank.example]", "'[bank.example]' is no IPv6 address"},
        {"1::2::3", "'1::2::3' is no IPv6 address"},
        {"192.168.1.256", "last label is all digits"},
        {"ab--\xc3\xbc.example", "\"--\" in its third and fourth places"},
        {"m\xfcnchen.example", "not UTF-8"},
        {"mu\xcc\x88nchen.example", "'\xcc\x88' is no letter"},
        {"\xc4\xb0stanbul.example", "'\xc4\xb0' is no letter"},
        {"gro\xe1\xba\x9e.example", "'\xe1\xba\x9e' is no letter"},
        {"\xd9\x85\xd8\xb5\xd8\xb1.example", "is no letter"},
        {"b\xc3\xbc-.example", "begins or ends with a hyphen"},
        {"-bank.example", "begins or ends with a hyphen"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(SiteFromUserInput(r.typed), std::nullopt) << r.typed;
        EXPECT_NE(WhyNotASite(r.typed).find(r.reason), std::string::npos) << r.typed << ": " << WhyNotASite(r.typed);
    }
    EXPECT_EQ(WhyNotASite("_dmarc.my_site.example"), "") << "browsers set cookies for names with '_'";
    EXPECT_EQ(SiteFromUserInput("https://My_Site.example/"), "my_site.example");
}

}  // namespace
