#pragma once
// WinINet pieces shared by the DXF server export and the update check.
#include <windows.h>
#include <wininet.h>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
// Closes its WinINet handle when it goes out of scope.
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

// An address split as InternetCrackUrlW splits it (no flags; host up to 255 characters, path up to
// 2047, query and fragment up to 1023).
struct HttpAddress {
    INTERNET_SCHEME scheme = INTERNET_SCHEME_UNKNOWN;
    std::wstring host;
    INTERNET_PORT port = 0;  // the scheme's default when the address names none
    std::wstring target;     // the path, "/" when empty, followed by the query and fragment
};

// None when the address cannot be split.
std::optional<HttpAddress> splitHttpAddress(const std::wstring& address);

// Reads a reply body in pieces of up to pieceBytes until a read fails or returns nothing, or once
// more than stopAfterBytes are held.
std::string readReplyBody(HINTERNET request, DWORD pieceBytes, size_t stopAfterBytes);
