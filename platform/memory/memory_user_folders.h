// Stand-in user folders, as a test sets them; none until it does, as on the Windows 9x family.
#pragma once

#include <map>

#include "platform/user_folders.h"

class MemoryUserFolders final : public UserFolders {
public:
    std::map<UserFolder, std::string> paths;

    bool Find(UserFolder folder, std::string& path) override {
        const auto found = paths.find(folder);
        if (found == paths.end()) return false;
        path = found->second;
        return true;
    }
};
