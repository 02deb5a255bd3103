#include "app/application_win32.h"
#include "app/product_info.h"
#include "app/update_check_win32.h"
#include "app/update_reply.h"

#include <system_error>
#include <thread>

void Application::startUpdateCheck() {
    if (updateCheckStarted || !mainWindow) return;
    updateCheckStarted = true;  // also when the thread cannot start: no second attempt
    try {
        // The worker gets the window handle and the page by value: it touches nothing of ours.
        std::thread(updateCheckThread, mainWindow, updatePage).detach();
    } catch (const std::system_error&) {
        // No thread, no check; nothing to report.
    }
}

void Application::handleUpdateResult(bool available, const std::wstring& version, const std::wstring& address,
                                     const std::wstring& message) {
    updateAvailable = available;
    latestVersion = version;
    downloadUrl = address.empty() ? std::wstring(productWebPage) : address;
    updateMessage = message;
    refreshUpdateNotice();
    if (available) setStatus(text(L"status.updateAvailable") + latestVersion);
}

void Application::refreshUpdateNotice() {
    if (!updateNotice) return;
    const bool shown = updateAvailable && !latestVersion.empty();
    SetWindowTextW(updateNotice, shown ? (text(L"update.noticeAvailable") + latestVersion).c_str() : L"");
    ShowWindow(updateNotice, shown ? SW_SHOW : SW_HIDE);
}

void Application::openDownloadPage() {
    // The address came from the network: only a web address reaches the shell.
    modalUi.openInShell(mainWindow, downloadAddressToOpen(downloadUrl, productWebPage));
    setStatus(text(L"status.openingWebsite"));
}
