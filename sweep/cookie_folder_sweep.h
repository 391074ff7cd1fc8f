// The cookie text files of the Windows directory's Cookies folder, outside the NT family, as a
// source.
#pragma once

#include <string>

#include "platform/file_search.h"
#include "platform/system_facts.h"
#include "sweep/sweep_observer.h"

class KeptCookieFilter;
struct SourceContext;

// What the folder sweep needs to know of the system, asked once.
struct CookieFolderPlace {
    bool isNt = true;
    // Empty when the system could not report it.
    std::string windowsDir;
};

// A failed version query counts as the NT family, whose cookies all live in the URL cache:
// the folder is then left alone rather than guessed at.
CookieFolderPlace QueryCookieFolderPlace(SystemFacts& system);

struct CookieFolderResult {
    // Each time the walk stood on a cookie file: counting, the number of files; deleting,
    // every deleted file once and each undeletable one once per search that reached it.
    int count = 0;
    int deleted = 0;
    // The files that hold a kept cookie, each once; in neither count above.
    int kept = 0;
    bool stopped = false;
};

// Leaves the process's current directory at the Cookies folder when it could enter it. keep is
// asked only once the sweep meets a cookie file: at the first, whether it holds every file, and
// for each, whether the file holds a kept cookie. Without keep, no file is kept.
CookieFolderResult SweepCookieFiles(FileSearch& files, const CookieFolderPlace& place, bool deleteFiles,
                                    SweepObserver& observer, KeptCookieFilter* keep = nullptr);

// The source: the folder at the pass's place, its files counted as cookies.
void RunCookieFolder(SourceContext& context);
