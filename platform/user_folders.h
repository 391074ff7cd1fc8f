// The user's own folders that other browsers keep their profiles in.
#pragma once

#include <string>

enum class UserFolder {
    // %LOCALAPPDATA%: what stays on this machine (caches, most browsers' user data).
    LocalAppData,
    // %APPDATA%: what roams with the user (Opera's profile).
    RoamingAppData,
};

class UserFolders {
public:
    virtual ~UserFolders() = default;

    // The folder's full path in UTF-8, without a trailing separator; false when the system has
    // none for this user (the Windows 9x family has neither).
    virtual bool Find(UserFolder folder, std::string& path) = 0;
};
