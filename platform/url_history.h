// The browser's history as a whole: the by-day and by-week views of the History pane live in
// containers of their own (MSHist01...), which no walk of the history container reaches.
#pragma once

#include <cstdint>

// HRESULTs, with their Windows values.
inline constexpr std::int32_t kSOk = 0;
inline constexpr std::int32_t kENotImpl = static_cast<std::int32_t>(0x80004001);

class UrlHistory {
public:
    virtual ~UrlHistory() = default;

    // Clears the user's history with its views, as the browser's own "delete history" does; an
    // HRESULT. The calling thread needs nothing set up for it.
    virtual std::int32_t ClearHistory() = 0;
};
