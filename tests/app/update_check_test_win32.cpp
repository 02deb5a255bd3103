// The update check end to end: the worker against loopback servers, the posted result, the notice,
// the status line and the download page, and the worker's cleanup when the window is gone.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "app/product_info.h"
#include "app/update_check_result.h"
#include "app/update_check_win32.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <thread>

// Live allocations of this test program, to see that a worker frees what it could not hand over.
namespace {
std::atomic<long> liveAllocations{0};
}

void* operator new(std::size_t size) {
    void* block = std::malloc(size ? size : 1);
    if (!block) throw std::bad_alloc();
    ++liveAllocations;
    return block;
}

void operator delete(void* block) noexcept {
    if (!block) return;
    --liveAllocations;
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::wstring widen(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

enum class Server { Files, Closed, Silent };

// The product page a case's worker asks; with Server::Files, body (when not empty) is its version.php.
std::wstring preparePage(const std::string& folder, const std::string& body, Server server) {
    const char* port = server == Server::Files    ? "TESSARO_UPDATE_HTTP_PORT"
                       : server == Server::Closed ? "TESSARO_UPDATE_CLOSED_PORT"
                                                  : "TESSARO_UPDATE_SILENT_PORT";
    if (server == Server::Files && !body.empty()) {
        const std::filesystem::path site = environment("TESSARO_UPDATE_SITE");
        std::filesystem::create_directories(site / folder);
        std::ofstream(site / folder / "version.php", std::ios::binary) << body;
    }
    return L"http://127.0.0.1:" + widen(environment(port)) + L"/" + widen(folder) + L"/";
}

// Shown, even in a hidden main window.
bool isShown(HWND control) { return (GetWindowLongW(control, GWL_STYLE) & WS_VISIBLE) != 0; }

// Runs one worker to its end, then handles what it posted.
void runWorker(HWND window, const std::wstring& page) {
    std::thread worker(updateCheckThread, window, page);
    worker.join();
    pumpMessagesFor(0);
}

class UpdateCheckTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(environment("TESSARO_UPDATE_SITE").empty()) << "run through run_update_check_tests.sh";
        removeSettingsFolder();
    }
    void TearDown() override { removeSettingsFolder(); }
};

// A member that starts after the first 9216 bytes of the body.
std::string afterTheCut(const std::string& head, const std::string& member) {
    return head + std::string(9300 - head.size(), ' ') + member + "}";
}

TEST_F(UpdateCheckTest, RepliesReachTheNoticeOrEndSilently) {
    const std::wstring fetchedPage = L"http://127.0.0.1:" + widen(environment("TESSARO_UPDATE_HTTP_PORT")) + L"/";
    struct Case {
        const char* folder;
        std::string body;
        Server server;
        const wchar_t* shownVersion;  // null: silent, notice hidden and status untouched
        std::wstring opens;           // what a click on the notice opens
        bool reported = true;         // a result reached the window at all
    };
    const Case cases[] = {
        {"newer", R"({"latestVersion": "0.2.0", "downloadUrl": "https://orvell.example/get/0.2.0", "message": "Hi"})",
         Server::Files, L"0.2.0", L"https://orvell.example/get/0.2.0"},
        {"same", R"({"latestVersion": "0.1.0", "downloadUrl": "https://orvell.example/get/0.1.0"})", Server::Files,
         nullptr, L""},
        {"older", R"({"latestVersion": "0.0.9"})", Server::Files, nullptr, L""},
        {"fallbacks", R"({"version": "v0.2", "url": "https://mirror.example/tessaro"})", Server::Files, L"v0.2",
         L"https://mirror.example/tessaro"},
        {"no-address", R"({"latestVersion": "0.1.1", "downloadUrl": ""})", Server::Files, L"0.1.1",
         fetchedPage + L"no-address/"},
        // Addresses from the network that would run a program or open a local file: the product page instead.
        {"hostile-file", R"({"latestVersion": "9.0", "downloadUrl": "file:///C:/windows/system32/calc.exe"})",
         Server::Files, L"9.0", productWebPage},
        {"hostile-program", R"({"latestVersion": "9.0", "downloadUrl": "C:\\windows\\system32\\calc.exe"})",
         Server::Files, L"9.0", productWebPage},
        // Only the first 9216 bytes are read.
        {"cut-version", afterTheCut("{", R"("latestVersion": "0.2.0")"), Server::Files, nullptr, L"", false},
        {"cut-address", afterTheCut(R"({"latestVersion": "0.3.0",)", R"("downloadUrl": "https://late.example/")"),
         Server::Files, L"0.3.0", fetchedPage + L"cut-address/"},
        {"numbers-only", R"({"latestVersion": 2})", Server::Files, nullptr, L"", false},
        {"missing", "", Server::Files, nullptr, L"", false},  // the server's 404 page
        {"closed", "", Server::Closed, nullptr, L"", false},
        {"silent", "", Server::Silent, nullptr, L"", false},  // ends by the time-out
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        AppHarness harness;
        Application& app = harness.app();
        KillTimer(harness.window(), UPDATE_CHECK_TIMER);  // only this case's worker runs
        const std::wstring statusBefore = textOf(app.statusLine);

        runWorker(harness.window(), preparePage(c.folder, c.body, c.server));

        EXPECT_EQ(!app.latestVersion.empty(), c.reported);
        EXPECT_EQ(isShown(app.updateNotice), c.shownVersion != nullptr);
        EXPECT_TRUE(harness.modalUi.messages.empty());
        if (!c.shownVersion) {
            EXPECT_EQ(textOf(app.updateNotice), L"");
            EXPECT_EQ(textOf(app.statusLine), statusBefore);
            continue;
        }
        EXPECT_EQ(textOf(app.updateNotice), std::wstring(L"Actualizacion disponible: ") + c.shownVersion);
        EXPECT_EQ(textOf(app.statusLine), std::wstring(L"Nueva version disponible: ") + c.shownVersion);
        harness.command(UpdateNoticeId, STN_CLICKED, app.updateNotice);
        ASSERT_EQ(harness.modalUi.opened.size(), 1u);
        EXPECT_EQ(harness.modalUi.opened[0], c.opens);
        EXPECT_EQ(textOf(app.statusLine), L"Abriendo pagina de Orvell Tessaro...");
    }
}

TEST_F(UpdateCheckTest, PostedResultsSetTheNoticeWhateverTheirShape) {
    struct Case {
        WPARAM newer;
        const wchar_t* version;
        const wchar_t* address;
        const wchar_t* notice;  // null: hidden
        const wchar_t* opens;
    };
    const Case cases[] = {
        {1, L"1.0", L"https://d.example/", L"Actualizacion disponible: 1.0", L"https://d.example/"},
        {1, L"1.0", L"", L"Actualizacion disponible: 1.0", productWebPage},
        {1, L"", L"https://d.example/", nullptr, L"https://d.example/"},
        {0, L"0.1.0", L"https://d.example/", nullptr, L"https://d.example/"},
        {1, L"2.0", L"javascript:alert(1)", L"Actualizacion disponible: 2.0", productWebPage},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.newer << " " << c.version << " " << c.address);
        AppHarness harness;
        Application& app = harness.app();
        auto* result = new UpdateCheckResult{c.newer != 0, c.version, c.address, L"m"};
        SendMessageW(harness.window(), WM_UPDATE_CHECK_RESULT, c.newer, reinterpret_cast<LPARAM>(result));
        EXPECT_EQ(app.updateMessage, L"m");
        EXPECT_EQ(isShown(app.updateNotice), c.notice != nullptr);
        EXPECT_EQ(textOf(app.updateNotice), c.notice ? c.notice : L"");
        // The notice is only clickable when shown, but its command must still be safe.
        harness.command(UpdateNoticeId, STN_CLICKED, app.updateNotice);
        harness.command(UpdateNoticeId, STN_DBLCLK, app.updateNotice);
        EXPECT_EQ(harness.modalUi.opened, std::vector<std::wstring>{c.opens});
    }
}

TEST_F(UpdateCheckTest, LanguageChangeReTextsTheNotice) {
    AppHarness harness;
    Application& app = harness.app();
    app.handleUpdateResult(true, L"0.5", L"", L"");
    EXPECT_EQ(textOf(app.updateNotice), L"Actualizacion disponible: 0.5");
    harness.choose(app.languageCombo, 0);  // English
    ASSERT_EQ(app.currentLanguage, L"en");
    EXPECT_EQ(textOf(app.updateNotice), L"Update available: 0.5");
    EXPECT_TRUE(isShown(app.updateNotice));
}

TEST_F(UpdateCheckTest, TheTimerStartsOneCheckPerRun) {
    AppHarness harness;
    Application& app = harness.app();
    EXPECT_FALSE(app.updateCheckStarted);
    SendMessageW(harness.window(), WM_TIMER, UPDATE_CHECK_TIMER, 0);
    EXPECT_TRUE(app.updateCheckStarted);
    EXPECT_FALSE(KillTimer(harness.window(), UPDATE_CHECK_TIMER));  // killed by its handler
}

TEST_F(UpdateCheckTest, AResultTheWindowCannotTakeIsFreedByTheWorker) {
    const std::wstring page =
        preparePage("orphan", R"({"latestVersion": "0.2.0", "downloadUrl": "https://orvell.example/x"})", Server::Files);
    HWND gone = nullptr;
    {
        AppHarness harness;
        KillTimer(harness.window(), UPDATE_CHECK_TIMER);
        gone = harness.window();
        runWorker(gone, page);  // a live window takes it: the reply does announce a result
        ASSERT_TRUE(isShown(harness.app().updateNotice));
    }
    ASSERT_FALSE(IsWindow(gone));
    updateCheckThread(gone, page);  // first run: lets lazily made library state settle
    const long before = liveAllocations;
    updateCheckThread(gone, page);
    EXPECT_EQ(liveAllocations, before);
}

}  // namespace
