// The browser's history over its COM object (IUrlHistoryStg2), with ole32 loaded from the system
// folder only when a clear asks for it.
#pragma once

#include "platform/url_history.h"

class Win32UrlHistory final : public UrlHistory {
public:
    std::int32_t ClearHistory() override;
};
