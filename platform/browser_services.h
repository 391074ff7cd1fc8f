// The services the other browsers' sources reach their profiles through, handed in by whoever
// builds the window or the console program.
#pragma once

#include "platform/databases.h"
#include "platform/profile_files.h"
#include "platform/user_folders.h"

struct BrowserServices {
    UserFolders& folders;
    ProfileFiles& files;
    Databases& databases;
};
