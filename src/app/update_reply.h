#pragma once
// Reading the product page's version reply: a scan for string members, not a JSON parse.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/update_check_result.h"
#include "version.h"

// The installed version, compared against the reply.
inline constexpr const wchar_t* kInstalledVersion = L"" TESSARO_VERSION;

// Text of the first "key" member's string value, escapes \n \r \t and \x -> x applied;
// empty when the key, its colon or an opening quote is missing.
std::wstring extractJsonString(const std::wstring& text, const std::wstring& key);

// Next dotted component at cursor (leading 'v', 'V' and spaces skipped), advancing the cursor past
// the next '.'; 0 when it has no digits. Saturates at INT32_MAX instead of overflowing.
int32_t nextVersionComponent(const std::wstring& version, size_t& cursor);

// True when latest is newer than installed, comparing at most four components.
bool isNewerVersion(const std::wstring& installed, const std::wstring& latest);

// The address to open for a download: the reply's address only when it is http or https,
// otherwise the product page (a reply must never make the shell run a program or open a local file).
std::wstring downloadAddressToOpen(const std::wstring& downloadUrl, const std::wstring& productPage);

// The reply body (UTF-8; bytes widened one by one when it is not) read into result: version and
// address each with its fallback member, the message; the address is productPage when none is named.
// False, with no result to report, when the reply names no version.
bool readUpdateReply(const std::string& body, const std::wstring& productPage, UpdateCheckResult& result);
