#include "app/update_check_win32.h"

#include "app/application_win32.h"
#include "app/update_reply.h"

#include "output/wininet_request_win32.h"

#include <memory>
#include <optional>

namespace {

constexpr DWORD kReadPieceBytes = 1024;
// Reading stops once more than this is held, so a reply never holds more than 9216 bytes.
constexpr size_t kBodyLimitBytes = 8192;

void setTimeouts(HINTERNET handle) {
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT}) {
        DWORD timeout = UPDATE_CHECK_TIMEOUT_MS;
        InternetSetOptionW(handle, option, &timeout, sizeof timeout);
    }
}

// GET of address with the time-outs applied; null when it cannot be sent or no answer comes in time.
InternetHandle openVersionRequest(HINTERNET internet, const std::wstring& address, InternetHandle& connection) {
    const std::optional<HttpAddress> split = splitHttpAddress(address);
    if (!split || (split->scheme != INTERNET_SCHEME_HTTP && split->scheme != INTERNET_SCHEME_HTTPS)) return nullptr;
    connection.reset(
        InternetConnectW(internet, split->host.c_str(), split->port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    if (!connection) return nullptr;
    // Wine takes the receive and send time-outs from the connection only, Windows from the internet handle too.
    setTimeouts(connection.get());
    DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE;
    if (split->scheme == INTERNET_SCHEME_HTTPS) flags |= INTERNET_FLAG_SECURE;
    InternetHandle request(HttpOpenRequestW(connection.get(), L"GET", split->target.c_str(), nullptr, nullptr, nullptr, flags, 0));
    if (!request || !HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0)) return nullptr;
    return request;
}

}  // namespace

bool checkForUpdate(UpdateCheckResult& result, const std::wstring& productPage) {
    result = UpdateCheckResult{};
    // Declared in opening order, so they close in reverse: request, connection, internet.
    const InternetHandle internet(InternetOpenW(L"Orvell Tessaro", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!internet) return false;
    setTimeouts(internet.get());
    InternetHandle connection;
    const InternetHandle request = openVersionRequest(internet.get(), productPage + L"version.php", connection);
    if (!request) return false;
    // The status code is not looked at: an error page simply names no version.
    return readUpdateReply(readReplyBody(request.get(), kReadPieceBytes, kBodyLimitBytes), productPage, result);
}

void updateCheckThread(HWND window, std::wstring productPage, UpdateCheckResult* result) {
    std::unique_ptr<UpdateCheckResult> owned(result);
    if (!owned) return;
    try {
        // A failed check is handed back too, empty, so the window stops waiting for its record.
        if (!checkForUpdate(*owned, productPage)) *owned = UpdateCheckResult{};
    } catch (const std::exception&) {
        *owned = UpdateCheckResult{};  // out of memory in a worker: as any failed check
    }
    const WPARAM newer = owned->updateAvailable ? 1 : 0;
    if (PostMessageW(window, WM_UPDATE_CHECK_RESULT, newer, reinterpret_cast<LPARAM>(owned.get()))) {
        owned.release();  // the main window owns it now
    }
}
