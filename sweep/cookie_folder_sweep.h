// The cookie text files of the Windows directory's Cookies folder, outside the NT family.
#pragma once

#include <string>
#include <string_view>

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
    // The files that hold a kept cookie, each once; in neither count above.
    int kept = 0;
    bool stopped = false;
};

// What the cookies to keep say of the files; asked only once the sweep meets a cookie file.
class CookieFileKeeping {
public:
    virtual ~CookieFileKeeping() = default;
    // The file holds a cookie that is kept (the file name as the search gives it).
    virtual bool Keeps(std::string_view fileName) = 0;
    // No file may be deleted in this sweep; asked once, at the first cookie file.
    virtual bool HoldsEveryFile() = 0;
};

// Leaves the process's current directory at the Cookies folder when it could enter it. Without
// keeping, no file is kept.
CookieFolderResult SweepCookieFiles(FileSearch& files, const CookieFolderPlace& place, bool deleteFiles,
                                    SweepObserver& observer, CookieFileKeeping* keeping = nullptr);
