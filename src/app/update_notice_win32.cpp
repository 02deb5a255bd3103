#include "app/application_win32.h"
#include "app/product_info.h"
#include "app/update_check_win32.h"
#include "app/update_reply.h"

#include <exception>
#include <memory>
#include <thread>

void Application::startUpdateCheck() {
    if (updateCheckStarted_ || !mainWindow_) return;
    updateCheckStarted_ = true;  // also when the thread cannot start: no second attempt
    try {
        // The worker gets the window handle, the page by value and a record of its own: it touches
        // nothing of ours. Only that record's address is taken back from a result post.
        auto record = std::make_unique<UpdateCheckResult>();
        pendingUpdateResult_ = record.get();
        std::thread(updateCheckThread, mainWindow_, productPage_, record.get()).detach();
        record.release();
    } catch (const std::exception&) {
        pendingUpdateResult_ = nullptr;  // no thread, no check; nothing to report
    }
}

void Application::handleUpdateResult(bool available, const std::wstring& version, const std::wstring& address) {
    updateAvailable_ = available;
    latestVersion_ = version;
    downloadUrl_ = address.empty() ? productPage_ : address;
    refreshUpdateNotice();
    if (available) setStatus(text(L"status.updateAvailable") + latestVersion_);
}

void Application::refreshUpdateNotice() {
    if (!panel_.updateNotice) return;
    const bool shown = updateAvailable_ && !latestVersion_.empty();
    SetWindowTextW(panel_.updateNotice, shown ? (text(L"update.noticeAvailable") + latestVersion_).c_str() : L"");
    ShowWindow(panel_.updateNotice, shown ? SW_SHOW : SW_HIDE);
}

void Application::openDownloadPage() {
    // The address came from the network: only a web address reaches the shell.
    modalUi_.openInShell(mainWindow_, downloadAddressToOpen(downloadUrl_, productPage_));
    setStatus(text(L"status.openingWebsite"));
}
