// A long random session driven by messages: typing (valid and not), counts, options, units,
// languages, views and engines, wheel and drags. Nothing may crash, and once the program has warmed
// up its GDI objects, windows and private memory must stay flat.
#include "shell_fixture_win32.h"

#include <gtest/gtest.h>

#include <psapi.h>

#include <cstdio>
#include <random>

namespace {

constexpr int kActions = 2000;
constexpr int kWarmUp = 200;  // first paths, fonts, device and caches are made by then
constexpr int kSampleEvery = 100;

class RandomSession {
public:
    explicit RandomSession(Shell& shell) : shell_(shell) {}

    // Weighted towards what users do most; each view switch may make or drop a Direct3D device.
    void act() {
        const int roll = pick(20);
        if (roll < 4) {
            static const wchar_t* const kTexts[] = {L"180", L"95.5", L"7.25", L"3",  L"0.2",   L"0",    L"-4",
                                                    L"12,5", L"abc", L"",     L"1e999", L"99999", L"0.01", L"40"};
            shell_.type(pickOf({WidthEditId, HeightEditId, DepthEditId, KerfEditId, ClearanceEditId, SpacingEditId,
                                ThicknessComboId, ToolDiameterComboId}),
                        kTexts[pick(std::size(kTexts))]);
        } else if (roll < 6) {
            chooseAny(pickOf({FingersWidthComboId, FingersDepthComboId, FingersHeightComboId, ThicknessComboId,
                              ToolDiameterComboId}));
        } else if (roll < 8) {
            shell_.click(pickOf({AddLidBoxId, CncRouterModeBoxId, InternalDimensionsBoxId}));
        } else if (roll < 11) {
            chooseAny(pickOf({UnitsComboId, UnitsComboId, LanguageComboId}));
        } else if (roll < 13) {
            const int id = pickOf({Preview3dBoxId, RenderEngineComboId, FitViewButtonId});
            id == RenderEngineComboId ? chooseAny(id) : shell_.click(id);
        } else if (roll < 16) {
            POINT at = somewhere();
            ClientToScreen(preview(), &at);
            const short delta = static_cast<short>((pick(2) ? 1 : -1) * WHEEL_DELTA * (1 + pick(3)));
            SendMessageW(preview(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
        } else {
            drag();
        }
        // The pause that ends typing, now and then, and the paint that follows every action.
        if (pick(4) == 0) SendMessageW(shell_.window(), WM_TIMER, REGENERATE_TIMER, 0);
        pumpMessagesFor(0);
        UpdateWindow(shell_.window());
        UpdateWindow(preview());
    }

    // Every language, unit, view and engine once, with the largest design the panel makes and a
    // refused one, so that one-time costs and high-water marks fall within the warm-up.
    void tour() {
        for (int id : {FingersWidthComboId, FingersDepthComboId, FingersHeightComboId})
            shell_.choose(id, items(id) - 1);
        shell_.click(AddLidBoxId);
        shell_.click(CncRouterModeBoxId);
        for (int index = items(LanguageComboId); index-- > 0;) shell_.choose(LanguageComboId, index);
        for (int units : {1, 0}) shell_.choose(UnitsComboId, units);
        for (const wchar_t* thickness : {L"0", L"3"}) {
            shell_.type(ThicknessComboId, thickness);
            SendMessageW(shell_.window(), WM_TIMER, REGENERATE_TIMER, 0);
            for (int engine = 0; engine < 3; ++engine) {
                shell_.choose(RenderEngineComboId, engine);
                for (int view = 0; view < 2; ++view) {
                    shell_.click(Preview3dBoxId);
                    UpdateWindow(preview());
                    drag();
                }
            }
        }
    }

    // The 2D plan with no Direct3D device: memory is compared in this one state.
    void showPlan() {
        const bool in3d = SendMessageW(shell_.control(Preview3dBoxId), BM_GETCHECK, 0, 0) == BST_CHECKED;
        if (in3d) shell_.click(Preview3dBoxId);
        pumpMessagesFor(0);
        UpdateWindow(preview());
    }

private:
    HWND preview() { return shell_.app().previewWindow(); }
    int pick(size_t count) { return std::uniform_int_distribution<int>(0, static_cast<int>(count) - 1)(random_); }
    int pickOf(std::initializer_list<int> ids) { return ids.begin()[pick(ids.size())]; }
    int items(int id) { return static_cast<int>(SendMessageW(shell_.control(id), CB_GETCOUNT, 0, 0)); }
    void chooseAny(int id) {
        if (items(id) > 0) shell_.choose(id, pick(static_cast<size_t>(items(id))));
    }
    POINT somewhere() {
        RECT area{};
        GetClientRect(preview(), &area);
        return {pick(std::max<LONG>(1, area.right)), pick(std::max<LONG>(1, area.bottom))};
    }
    // A left drag rotates (3D) and a right drag pans; each move paints as the user would see it.
    void drag() {
        const bool rotate = pick(2) == 0;
        const WPARAM keys = rotate ? MK_LBUTTON : MK_RBUTTON;
        POINT at = somewhere();
        SendMessageW(preview(), rotate ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, keys, MAKELPARAM(at.x, at.y));
        for (int step = 0, steps = 1 + pick(6); step < steps; ++step) {
            at.x += pick(61) - 30;
            at.y += pick(61) - 30;
            SendMessageW(preview(), WM_MOUSEMOVE, keys, MAKELPARAM(at.x, at.y));
            UpdateWindow(preview());
        }
        SendMessageW(preview(), rotate ? WM_LBUTTONUP : WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }

    Shell& shell_;
    std::mt19937 random_{20261206};
};

struct Usage {
    int gdiObjects;
    int windows;       // this thread's, children included: Wine keeps no USER object count
    size_t privateKiB;  // the commit charge on Windows, anonymous resident memory under Wine
};

Usage usageNow() {
    int gdi = static_cast<int>(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
    if (gdi == 0) {  // Wine answers 0: walk its handle table instead, by bare index
        for (ULONG_PTR index = 1; index < 0x10000; ++index)
            gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0;
    }
    int windows = 0;
    const WNDENUMPROC countWithChildren = [](HWND window, LPARAM count) -> BOOL {
        ++*reinterpret_cast<int*>(count);
        const WNDENUMPROC countChild = [](HWND, LPARAM inner) -> BOOL { return ++*reinterpret_cast<int*>(inner) > 0; };
        EnumChildWindows(window, countChild, count);
        return TRUE;
    };
    EnumThreadWindows(GetCurrentThreadId(), countWithChildren, reinterpret_cast<LPARAM>(&windows));
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    return {gdi, windows, memory.PagefileUsage / 1024};
}

TEST(LoadTest, TwoThousandRandomActionsLeakNoGdiObjectsWindowsOrMemory) {
    removeSettingsFolder();
    std::vector<Usage> samples;
    {
        Shell shell(true);
        shell.choose(LanguageComboId, 0);
        RandomSession session(shell);
        session.tour();
        for (int action = 1; action <= kActions; ++action) {
            session.act();
            ASSERT_TRUE(IsWindow(shell.window())) << "action " << action;
            if (action >= kWarmUp && action % kSampleEvery == 0) {
                session.showPlan();
                samples.push_back(usageNow());
            }
        }
        EXPECT_TRUE(shell.ui.messages.empty()) << "no action asks the user anything";
    }
    removeSettingsFolder();

    const Usage& first = samples.front();
    for (const Usage& sample : samples) {
        std::printf("GDI objects %d, windows %d, private memory %zu KiB\n", sample.gdiObjects, sample.windows,
                    sample.privateKiB);
        // A leak of one object or one window in a hundred actions already breaks these bounds.
        EXPECT_LE(sample.gdiObjects, first.gdiObjects + 8);
        EXPECT_EQ(sample.windows, first.windows);
    }
    EXPECT_GT(first.gdiObjects, 20) << "the count sees the program's objects";
    // The heap may breathe, but not keep a design per regeneration.
    EXPECT_LE(samples.back().privateKiB, first.privateKiB + 4 * 1024);
}

}  // namespace
