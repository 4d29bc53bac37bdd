#pragma once
// The numbered message table: 147 user-visible texts with English defaults,
// replaced from [Strings] of the current language file.

#include <string>

constexpr int MessageCount = 147;

// Message `key` (1 to 147) of the current language; empty for other keys.
std::string Msg(int key);
// The English default of message `key`.
std::string DefaultMsg(int key);
