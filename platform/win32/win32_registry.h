// The per-user registry over advapi32's ANSI calls, every key under HKEY_CURRENT_USER.
#pragma once

#include "platform/registry.h"

// Holds no state: each key handle belongs to whoever opened it and is released with CloseKey.
class Win32Registry final : public Registry {
public:
    std::int32_t OpenKey(const std::string& subKey, Key& key) override;
    std::int32_t OpenKeyForReading(const std::string& subKey, Key& key) override;
    std::int32_t CreateKey(const std::string& subKey, Key& key) override;
    std::int32_t QueryValue(Key key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                            std::uint32_t& size) override;
    std::int32_t SetStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                std::uint32_t size) override;
    std::int32_t SetMultiStringValue(Key key, const std::string& name, const std::uint8_t* data,
                                     std::uint32_t size) override;
    std::int32_t EnumValueName(Key key, std::uint32_t index, char* name, std::uint32_t& nameChars) override;
    std::int32_t DeleteValue(Key key, const std::string& name) override;
    std::int32_t CloseKey(Key key) override;
};
