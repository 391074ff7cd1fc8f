// The cookie text files of the Windows directory's Cookies folder, outside the NT family.
#pragma once

#include <string>

#include "platform/file_search.h"
#include "platform/system_facts.h"
#include "sweep/sweep_observer.h"

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
    bool stopped = false;
};

// Leaves the process's current directory at the Cookies folder when it could enter it.
CookieFolderResult SweepCookieFiles(FileSearch& files, const CookieFolderPlace& place, bool deleteFiles,
                                    SweepObserver& observer);
