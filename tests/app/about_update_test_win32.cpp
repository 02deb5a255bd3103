// The About window and the update check: the worker against loopback servers, the notice it sets,
// the page a click on it opens, and a result that no window can take.
#include "shell_fixture_win32.h"

#include "app/update_check_win32.h"
#include "settings/text_encoding.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <thread>

// Live allocations of this program, to see that a worker frees what it could not hand over.
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

using AboutAndUpdates = FreshSettings;

TEST_F(AboutAndUpdates, AboutIsModalClosesByKeyAndOpensTheProductPage) {
    Shell shell(true);
    shell.ui.beforeModalLoop = [&](HWND about) {
        EXPECT_FALSE(IsWindowEnabled(shell.window()));
        EXPECT_EQ(windowTextOf(about), L"Acerca de Orvell Tessaro 0.1.0");
        PostMessageW(GetDlgItem(about, AboutOpenButtonId), BM_CLICK, 0, 0);
        PostMessageW(about, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    shell.click(AboutButtonId);
    EXPECT_EQ(FindWindowW(L"OrvellTessaroAboutWindow", nullptr), nullptr);
    EXPECT_TRUE(IsWindowEnabled(shell.window()));
    EXPECT_EQ(shell.ui.opened, std::vector<std::wstring>{kClosedPage});
    shell.ui.beforeModalLoop = [](HWND) { PostQuitMessage(7); };
    shell.click(AboutButtonId);
    MSG quit{};
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) << "the quit reaches the outer loop";
    EXPECT_EQ(quit.wParam, 7u);
}

// The product page a worker asks: the site server's folder, holding body as its version.php.
std::wstring sitePage(const char* folder, const std::string& body) {
    const std::filesystem::path site = std::getenv("TESSARO_SITE");
    std::filesystem::create_directories(site / folder);
    std::ofstream(site / folder / "version.php", std::ios::binary) << body;
    return L"http://127.0.0.1:" + utf8ToWide(std::getenv("TESSARO_SITE_PORT")) + L"/" + utf8ToWide(folder) + L"/";
}

TEST_F(AboutAndUpdates, AnnouncedVersionsShowTheNoticeThatOpensOnlyWebAddresses) {
    ASSERT_NE(std::getenv("TESSARO_SITE"), nullptr) << "run through run_with_servers.sh";
    const std::wstring silent = L"http://127.0.0.1:" + utf8ToWide(std::getenv("TESSARO_SILENT_PORT")) + L"/";
    const struct {
        std::wstring page;
        std::wstring version;  // empty: nothing shown or said
        const wchar_t* opens;  // empty: the product page
    } cases[] = {
        {sitePage("newer", R"({"latestVersion": "0.2.0", "downloadUrl": "https://orvell.example/get"})"), L"0.2.0",
         L"https://orvell.example/get"},
        {sitePage("hostile", R"({"latestVersion": "9.0", "downloadUrl": "file:///C:/windows/system32/calc.exe"})"),
         L"9.0", L""},  // the product page instead
        {sitePage("same", R"({"latestVersion": "0.1.0"})"), L"", L""},
        {silent, L"", L""},  // ends by its time-out
    };
    for (const auto& c : cases) {
        removeSettingsFolder();
        Shell shell(false, c.page);
        const std::wstring before = shell.status();
        SendMessageW(shell.window(), WM_TIMER, UPDATE_CHECK_TIMER, 0);
        ASSERT_TRUE(pumpUntil([&] { return !shell.app().updateCheckPending(); }, 3 * UPDATE_CHECK_TIMEOUT_MS));
        const bool shown = (GetWindowLongW(shell.control(UpdateNoticeId), GWL_STYLE) & WS_VISIBLE) != 0;
        EXPECT_EQ(shown, !c.version.empty());
        if (c.version.empty()) {
            EXPECT_EQ(shell.text(UpdateNoticeId), L"");
            EXPECT_EQ(shell.status(), before);
            continue;
        }
        EXPECT_EQ(shell.text(UpdateNoticeId), L"Actualizacion disponible: " + c.version);
        EXPECT_EQ(shell.status(), L"Nueva version disponible: " + c.version);
        SendMessageW(shell.window(), WM_COMMAND, MAKEWPARAM(UpdateNoticeId, STN_CLICKED), 0);
        EXPECT_EQ(shell.ui.opened, std::vector<std::wstring>{*c.opens ? c.opens : c.page});
        shell.choose(LanguageComboId, 0);
        EXPECT_EQ(shell.text(UpdateNoticeId), L"Update available: " + c.version);
    }
}

TEST_F(AboutAndUpdates, TheTimerStartsOneCheckAndAResultNoWindowTakesIsFreed) {
    const std::wstring page = sitePage("orphan", R"({"latestVersion": "0.2.0", "downloadUrl": "https://x/"})");
    HWND gone = nullptr;
    {
        Shell shell(false, page);
        SendMessageW(shell.window(), WM_TIMER, UPDATE_CHECK_TIMER, 0);
        EXPECT_FALSE(KillTimer(shell.window(), UPDATE_CHECK_TIMER)) << "killed by its handler";
        EXPECT_TRUE(pumpUntil([&] { return !shell.text(UpdateNoticeId).empty(); }, 5000));
        sitePage("orphan", R"({"latestVersion": "0.3.0"})");
        SendMessageW(shell.window(), WM_TIMER, UPDATE_CHECK_TIMER, 0);  // no second check in one run
        pumpMessagesFor(300);
        EXPECT_EQ(shell.text(UpdateNoticeId), L"Actualizacion disponible: 0.2.0");
        UpdateCheckResult foreign{true, L"6.6.6", L"https://x/", L""};  // not the worker's: neither taken nor freed
        SendMessageW(shell.window(), WM_UPDATE_CHECK_RESULT, 1, reinterpret_cast<LPARAM>(&foreign));
        EXPECT_EQ(shell.text(UpdateNoticeId), L"Actualizacion disponible: 0.2.0");
        gone = shell.window();
    }
    ASSERT_FALSE(IsWindow(gone));
    updateCheckThread(gone, page, new UpdateCheckResult);  // the first run lets lazily made library state settle
    const long before = liveAllocations;
    updateCheckThread(gone, page, new UpdateCheckResult);
    EXPECT_EQ(liveAllocations, before);
}

}  // namespace
