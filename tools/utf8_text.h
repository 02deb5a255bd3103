#pragma once
// Wide to UTF-8 for the command-line tool's output (UTF-16 or UTF-32 wide strings).
#include <string>

// UTF-8 bytes of text; an unpaired surrogate or an invalid code point becomes U+FFFD.
std::string toUtf8(const std::wstring& text);
