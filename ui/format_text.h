// Formats a counter, caption or title the way the window shows it.
#pragma once

#include <string>

// The result never exceeds 254 characters: longer output is cut, never overflows.
std::string FormatText(const char* format, int value);
std::string FormatText(const char* format, int first, int second);
std::string FormatText(const char* format, const std::string& text, int value);
std::string FormatText(const char* format, const std::string& text);
