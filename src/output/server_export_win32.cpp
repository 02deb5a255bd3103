#include "output/server_export.h"

#include "output/server_request.h"
#include "output/wininet_request_win32.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace {

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

    const std::optional<HttpAddress> split = splitHttpAddress(address);
    if (!split) return fail(error, L"URL PHP invalida.");

    // Declared in opening order, so they close in reverse: request, connection, root.
    const InternetHandle root(InternetOpenW(L"Tessaro", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!root) return fail(error, L"No se pudo inicializar WinINet.");
    const InternetHandle connection(
        InternetConnectW(root.get(), split->host.c_str(), split->port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return fail(error, L"No se pudo conectar al servidor PHP.");
    const wchar_t* acceptTypes[] = {L"application/dxf", L"application/octet-stream", L"*/*", nullptr};
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (split->scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    const InternetHandle request(
        HttpOpenRequestW(connection.get(), L"POST", split->target.c_str(), nullptr, nullptr, acceptTypes, flags, 0));
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

    std::string reply = readReplyBody(request.get(), 4096, SIZE_MAX);

    if (status == 200) {
        if (reply.empty()) return fail(error, L"El servidor respondio vacio.");
        dxf = std::move(reply);
        return true;
    }
    error = L"El servidor DXF respondio " + std::to_wstring(status) + L": ";
    error += widenBytes(std::string_view(reply).substr(0, kQuotedBodyBytes));
    return false;
}
