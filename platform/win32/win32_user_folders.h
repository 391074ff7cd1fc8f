// The user's folders from the environment Windows gives each process.
#pragma once

#include "platform/user_folders.h"

class Win32UserFolders final : public UserFolders {
public:
    bool Find(UserFolder folder, std::string& path) override;
};
