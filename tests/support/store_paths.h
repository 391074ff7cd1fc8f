// Where the typed addresses, their times and the remembered choices live in HKEY_CURRENT_USER,
// for every ring's tests. Spelled out here rather than taken from the program's sources, so that
// a wrong key there shows up as a failure instead of being agreed with.
#pragma once

inline constexpr char kIePath[] = "Software\\Microsoft\\Internet Explorer";
inline constexpr char kTypedUrlsPath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLs";
inline constexpr char kTypedUrlsTimePath[] = "Software\\Microsoft\\Internet Explorer\\TypedURLsTime";
inline constexpr char kSettingsPath[] = "SOFTWARE\\Quellmar\\Win Brumix";
