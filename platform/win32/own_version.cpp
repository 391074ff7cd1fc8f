// The running executable's file version.
#include "platform/win32/own_version.h"

#include "platform/version_record.h"

std::string OwnFileVersion(HMODULE module) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(VS_VERSION_INFO), RT_VERSION);
    if (found == nullptr) return {};
    HGLOBAL loaded = LoadResource(module, found);
    const void* record = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (record == nullptr) return {};
    return FileVersionFromRecord(record, SizeofResource(module, found));
}
