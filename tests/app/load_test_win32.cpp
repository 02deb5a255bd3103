// A long random session driven by messages: typing (valid and not), counts, options, units,
// languages, views and engines, wheel and drags. Nothing may crash, and once the program has warmed
// up its GDI objects, windows and private memory must stay flat.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "support/process_usage_win32.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <random>

namespace {

constexpr int kActions = 2000;
constexpr int kWarmUp = 200;      // first paths, fonts, device and caches are made by then
constexpr int kSampleEvery = 100;

struct Usage {
    int gdiObjects;
    int windows;
    size_t privateBytes;
};

Usage usageNow() { return {gdiObjectCount(), threadWindowCount(), privateBytes()}; }

class RandomSession {
public:
    explicit RandomSession(AppHarness& harness) : harness_(harness), app_(harness.app()) {}

    void act() {
        // Weighted towards what users do most; each view switch may make or drop a Direct3D device.
        const int roll = pick(20);
        if (roll < 4) {
            typeNumber();
        } else if (roll < 6) {
            chooseAny(pickOf({app_.fingersWidthCombo, app_.fingersDepthCombo, app_.fingersHeightCombo,
                              app_.thicknessCombo, app_.toolDiameterCombo}));
        } else if (roll < 8) {
            toggleOption();
        } else if (roll < 10) {
            chooseAny(app_.unitsCombo);
        } else if (roll < 11) {
            chooseAny(app_.languageCombo);
        } else if (roll < 13) {
            switchView();
        } else if (roll < 16) {
            wheel();
        } else {
            drag();
        }
        // The pause that ends typing, now and then, and the paint that follows every action.
        if (pick(4) == 0) SendMessageW(harness_.window(), WM_TIMER, REGENERATE_TIMER, 0);
        pumpMessagesFor(0);
        UpdateWindow(harness_.window());
        UpdateWindow(app_.previewWindow);
    }

    // Every language, unit, view and engine once, with the largest design the panel makes and a
    // refused one, so that one-time costs and high-water marks (the engines' first frames and
    // biggest buffers, language files) fall within the warm-up.
    void tour() {
        for (HWND combo : {app_.fingersWidthCombo, app_.fingersDepthCombo, app_.fingersHeightCombo})
            harness_.choose(combo, static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)) - 1);
        click(app_.addLidBox, AddLidBoxId);
        click(app_.cncRouterModeBox, CncRouterModeBoxId);
        for (int index = static_cast<int>(SendMessageW(app_.languageCombo, CB_GETCOUNT, 0, 0)); index-- > 0;)
            harness_.choose(app_.languageCombo, index);
        for (int units : {1, 0}) harness_.choose(app_.unitsCombo, units);
        for (const wchar_t* thickness : {L"0", L"3"}) {
            SetWindowTextW(app_.thicknessCombo, thickness);
            SendMessageW(harness_.window(), WM_TIMER, REGENERATE_TIMER, 0);
            for (int engine = 0; engine < 3; ++engine) {
                harness_.choose(app_.renderEngineCombo, engine);
                for (int view = 0; view < 2; ++view) {
                    click(app_.preview3dBox, Preview3dBoxId);
                    UpdateWindow(app_.previewWindow);
                    drag();
                }
            }
        }
    }

    // The 2D plan with no Direct3D device: memory is compared in this one state.
    void showPlan() {
        if (SendMessageW(app_.preview3dBox, BM_GETCHECK, 0, 0) == BST_CHECKED) click(app_.preview3dBox, Preview3dBoxId);
        pumpMessagesFor(0);
        UpdateWindow(app_.previewWindow);
    }

private:
    int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }
    HWND pickOf(std::initializer_list<HWND> controls) { return controls.begin()[pick(static_cast<int>(controls.size()))]; }

    void typeNumber() {
        static constexpr std::array<const wchar_t*, 14> kTexts = {
            L"180", L"95.5", L"7.25", L"3", L"0.2", L"0", L"-4", L"12,5", L"abc", L"", L"1e999", L"99999", L"0.01", L"40"};
        const HWND field = pickOf({app_.widthEdit, app_.heightEdit, app_.depthEdit, app_.kerfEdit, app_.clearanceEdit,
                                   app_.spacingEdit, app_.thicknessCombo, app_.toolDiameterCombo});
        SetWindowTextW(field, kTexts[static_cast<size_t>(pick(kTexts.size()))]);
    }
    void chooseAny(HWND combo) {
        const int items = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
        if (items > 0) harness_.choose(combo, pick(items));
    }
    void click(HWND box, int id) {
        SendMessageW(box, BM_SETCHECK, SendMessageW(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED, 0);
        harness_.command(id, BN_CLICKED, box);
    }
    void toggleOption() {
        switch (pick(3)) {
        case 0: click(app_.addLidBox, AddLidBoxId); break;
        case 1: click(app_.cncRouterModeBox, CncRouterModeBoxId); break;
        default: click(app_.internalDimensionsBox, InternalDimensionsBoxId); break;
        }
    }
    void switchView() {
        switch (pick(3)) {
        case 0: click(app_.preview3dBox, Preview3dBoxId); break;
        case 1: chooseAny(app_.renderEngineCombo); break;
        default: harness_.command(FitViewButtonId, BN_CLICKED, nullptr); break;
        }
    }
    POINT somewhere() {
        RECT area{};
        GetClientRect(app_.previewWindow, &area);
        return {pick(std::max<int>(1, area.right)), pick(std::max<int>(1, area.bottom))};
    }
    void wheel() {
        POINT at = somewhere();
        ClientToScreen(app_.previewWindow, &at);
        const short delta = static_cast<short>((pick(2) ? 1 : -1) * WHEEL_DELTA * (1 + pick(3)));
        SendMessageW(app_.previewWindow, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
    }
    // A left drag rotates (3D) and a right drag pans; each move paints as the user would see it.
    void drag() {
        const bool rotate = pick(2) == 0;
        const WPARAM keys = rotate ? MK_LBUTTON : MK_RBUTTON;
        POINT at = somewhere();
        SendMessageW(app_.previewWindow, rotate ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, keys, MAKELPARAM(at.x, at.y));
        for (int step = 0, steps = 1 + pick(6); step < steps; ++step) {
            at.x += pick(61) - 30;
            at.y += pick(61) - 30;
            SendMessageW(app_.previewWindow, WM_MOUSEMOVE, keys, MAKELPARAM(at.x, at.y));
            UpdateWindow(app_.previewWindow);
        }
        SendMessageW(app_.previewWindow, rotate ? WM_LBUTTONUP : WM_RBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }

    AppHarness& harness_;
    Application& app_;
    std::mt19937 random_{20261206};
};

TEST(LoadTest, TwoThousandRandomActionsLeakNoGdiObjectsWindowsOrMemory) {
    removeSettingsFolder();
    std::vector<Usage> samples;
    {
        AppHarness harness(true);
        harness.choose(harness.app().languageCombo, 0);
        RandomSession session(harness);
        session.tour();
        for (int action = 1; action <= kActions; ++action) {
            session.act();
            ASSERT_TRUE(IsWindow(harness.window())) << "action " << action;
            if (action >= kWarmUp && action % kSampleEvery == 0) {
                session.showPlan();
                samples.push_back(usageNow());
            }
        }
        EXPECT_TRUE(harness.modalUi.messages.empty()) << "no action asks the user anything";
    }
    removeSettingsFolder();

    ASSERT_EQ(samples.size(), static_cast<size_t>((kActions - kWarmUp) / kSampleEvery + 1));
    const Usage& first = samples.front();
    for (const Usage& sample : samples) {
        std::printf("GDI objects %d, windows %d, private memory %zu KiB\n", sample.gdiObjects, sample.windows,
                    sample.privateBytes / 1024);
    }
    // A leak of one object or one window in a hundred actions already breaks these bounds; the
    // memory bound allows the heap's own breathing but not a leaked design per regeneration.
    for (const Usage& sample : samples) {
        EXPECT_LE(sample.gdiObjects, first.gdiObjects + 8);
        EXPECT_EQ(sample.windows, first.windows);
    }
    EXPECT_GT(first.gdiObjects, 20) << "the count sees the program's objects";
    EXPECT_LE(samples.back().privateBytes, first.privateBytes + 4 * 1024 * 1024);
}

}  // namespace
