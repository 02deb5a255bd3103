#include "output/wininet_request_win32.h"

#include <iterator>
#include <vector>

std::optional<HttpAddress> splitHttpAddress(const std::wstring& address) {
    wchar_t host[256] = {};
    wchar_t path[2048] = {};
    wchar_t extra[1024] = {};
    URL_COMPONENTSW parts = {};
    parts.dwStructSize = sizeof parts;
    parts.lpszHostName = host;
    parts.dwHostNameLength = static_cast<DWORD>(std::size(host));
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = static_cast<DWORD>(std::size(path));
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = static_cast<DWORD>(std::size(extra));
    if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return std::nullopt;
    HttpAddress split;
    split.scheme = parts.nScheme;
    split.host = host;
    split.port = parts.nPort;
    split.target = std::wstring(path[0] != L'\0' ? path : L"/") + extra;
    return split;
}

std::string readReplyBody(HINTERNET request, DWORD pieceBytes, size_t stopAfterBytes) {
    std::string body;
    std::vector<char> piece(pieceBytes);
    DWORD received = 0;
    while (body.size() <= stopAfterBytes && InternetReadFile(request, piece.data(), pieceBytes, &received) &&
           received > 0) {
        body.append(piece.data(), received);
    }
    return body;
}
