#include "output/server_export.h"

#include "output/server_request.h"

#include <windows.h>
#include <wininet.h>

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

struct InternetHandleCloser {
    void operator()(HINTERNET handle) const { InternetCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetHandleCloser>;

constexpr size_t kQuotedBodyBytes = 600;

bool fail(std::wstring& error, const wchar_t* text) {
    error = text;
    return false;
}

}  // namespace

bool requestServerDxf(const std::wstring& address, const PieceSet& pieces, std::string& dxf, std::wstring& error) {
    dxf.clear();
    error.clear();
    const std::string body = buildServerRequestJson(pieces);

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
    if (!InternetCrackUrlW(address.c_str(), 0, 0, &parts)) return fail(error, L"URL PHP invalida.");

    std::wstring target = path[0] != L'\0' ? path : L"/";
    target += extra;
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;

    // Declared in opening order, so they close in reverse: request, connection, root.
    const InternetHandle root(InternetOpenW(L"Tessaro", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) return fail(error, L"No se pudo inicializar WinINet.");
    const InternetHandle connection(
        InternetConnectW(root.get(), host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return fail(error, L"No se pudo conectar al servidor PHP.");
    const wchar_t* acceptTypes[] = {L"application/dxf", L"application/octet-stream", L"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (secure) flags |= INTERNET_FLAG_SECURE;
    const InternetHandle request(
        HttpOpenRequestW(connection.get(), L"POST", target.c_str(), nullptr, nullptr, acceptTypes, flags, 0));
    if (!request) return fail(error, L"No se pudo crear la solicitud HTTP.");

    const wchar_t headers[] = L"Content-Type: application/json\r\nAccept: application/dxf\r\n";
    if (!HttpSendRequestW(request.get(), headers, static_cast<DWORD>(std::size(headers) - 1),
                          const_cast<char*>(body.data()), static_cast<DWORD>(body.size())))
        return fail(error, L"No se pudo enviar el JSON al servidor PHP.");

    DWORD status = 0;
    DWORD statusSize = sizeof status;
    if (!HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &statusSize,
                        nullptr))
        status = 0;

    std::string reply;
    char chunk[4096];
    DWORD received = 0;
    while (InternetReadFile(request.get(), chunk, sizeof chunk, &received) && received > 0)
        reply.append(chunk, received);

    if (status == 200) {
        if (reply.empty()) return fail(error, L"El servidor respondio vacio.");
        dxf = std::move(reply);
        return true;
    }
    error = L"El servidor DXF respondio " + std::to_wstring(status) + L": ";
    const size_t quoted = std::min(reply.size(), kQuotedBodyBytes);
    for (size_t i = 0; i < quoted; ++i) error.push_back(static_cast<unsigned char>(reply[i]));
    return false;
}
