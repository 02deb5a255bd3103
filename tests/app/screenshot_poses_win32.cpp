// Poses the main window for scripts/screenshots.sh and saves each picture as NAME.ppm: the plan (also
// at 150%), the panel scrolled to its dividers and server groups, the plan on sheets, the GDI and Direct3D views, the update
// notice a loopback server announces, and the About window. The pictures are read from the screen, the
// one place a presented Direct3D frame can be read under Wine.
// Usage: screenshot_poses <output folder> <product page of the server>
#include "shell_fixture_win32.h"

#include <cstdio>

namespace {

bool saved(HWND window, const std::wstring& folder, const wchar_t* name) {
    pumpMessagesFor(700);
    RECT area{};
    GetWindowRect(window, &area);
    const std::vector<uint32_t> pixels = screenPixels(area);
    FILE* file = _wfopen((folder + L"\\" + name + L".ppm").c_str(), L"wb");
    if (!file || pixels.empty()) return false;
    std::fprintf(file, "P6\n%ld %ld\n255\n", area.right - area.left, area.bottom - area.top);
    for (uint32_t p : pixels) {
        const char rgb[] = {static_cast<char>(p >> 16), static_cast<char>(p >> 8), static_cast<char>(p)};
        std::fwrite(rgb, 1, 3, file);
    }
    return std::fclose(file) == 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 3) return 2;
    const std::wstring folder = argv[1];
    removeSettingsFolder();
    Shell shell(true, argv[2]);
    KillTimer(shell.window(), UPDATE_CHECK_TIMER);  // started below, once the other pictures are taken
    bool ok = saved(shell.window(), folder, L"main");
    RECT place{};  // moved to a screen at 150% and back, in the same place
    GetWindowRect(shell.window(), &place);
    SendMessageW(shell.window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));
    ok = saved(shell.window(), folder, L"main-150") && ok;
    SendMessageW(shell.window(), WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
    shell.choose(WidthDividersComboId, 2);
    shell.click(DividerBaseSlotsBoxId);
    shell.click(UpdateButtonId);
    SendMessageW(shell.window(), WM_VSCROLL, SB_BOTTOM, 0);
    ok = saved(shell.window(), folder, L"dividers") && ok;
    shell.choose(SheetSizeComboId, 2);  // 400 x 300 mm
    shell.click(UpdateButtonId);
    ok = saved(shell.window(), folder, L"sheets") && ok;
    shell.choose(SheetSizeComboId, 0);
    shell.click(UpdateButtonId);
    SendMessageW(shell.window(), WM_VSCROLL, SB_TOP, 0);
    shell.choose(RenderEngineComboId, 1);
    shell.click(Preview3dBoxId);
    ok = saved(shell.window(), folder, L"gdi3d") && ok;
    shell.click(Preview3dBoxId);
    {  // Under Wine a Direct3D frame shows only in a top-level window: the renderer draws into one.
        HWND top = CreateWindowExW(0, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 960, 720, nullptr, nullptr,
                                   nullptr, nullptr);
        Direct3DRenderer renderer;
        const bool drawn = renderer.attachWindow(top) && renderer.createDevice() &&
                           renderer.renderFrame(BoxParameters{}, PreviewViewState{});
        ok = drawn && saved(top, folder, L"d3d9") && ok;
        renderer.releaseDevice();
        DestroyWindow(top);
    }
    SendMessageW(shell.window(), WM_TIMER, UPDATE_CHECK_TIMER, 0);
    const bool announced = pumpUntil([&] { return !shell.text(UpdateNoticeId).empty(); }, 5000);
    ok = announced && saved(shell.window(), folder, L"update") && ok;
    shell.ui.beforeModalLoop = [&](HWND about) {
        ok = saved(about, folder, L"about") && ok;
        PostMessageW(about, WM_CLOSE, 0, 0);
    };
    shell.click(AboutButtonId);
    shell.close();
    removeSettingsFolder();
    return ok ? 0 : 1;
}
