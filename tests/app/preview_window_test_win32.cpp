// The preview inside the shown main window: the mouse reaches the view and is let go when lost, and
// each engine paints (Automatic trying Direct3D once per size and choice).
#include "shell_fixture_win32.h"

#include "settings/text_encoding.h"
#include "support/seams.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

class PreviewWindow : public testing::Test {
protected:
    void SetUp() override { shell.choose(LanguageComboId, 0); }
    void TearDown() override {
        shell.close();
        setDirect3DUnavailable(false);
        removeSettingsFolder();
    }

    HWND preview() { return shell.app().previewWindow(); }
    const PreviewViewState& view() { return shell.app().view(); }
    void mouse(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageW(preview(), message, keys, MAKELPARAM(x, y));
    }
    // A wheel notch at client (x, y) of a window; the message carries screen coordinates.
    void wheel(HWND window, int delta, int x, int y) {
        POINT at{x, y};
        ClientToScreen(window, &at);
        SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(at.x, at.y));
    }
    // Pixels of the colour in the preview as painted.
    long pixels(uint32_t colour) {
        InvalidateRect(preview(), nullptr, FALSE);
        UpdateWindow(preview());
        const std::vector<uint32_t> picture = clientPixels(preview());
        return std::count(picture.begin(), picture.end(), colour);
    }

    Shell shell{true};
};

// How far each gesture moves the view is the view state's own test; here, that each one reaches it.
TEST_F(PreviewWindow, TheMouseZoomsPansRotatesAndFitsTheView) {
    wheel(preview(), WHEEL_DELTA, 200, 150);
    EXPECT_GT(view().zoom, 1.0);
    EXPECT_NE(GetUpdateRect(preview(), nullptr, FALSE), FALSE) << "a repaint is asked for";
    POINT over{10, 10};
    MapWindowPoints(preview(), shell.window(), &over, 1);
    wheel(shell.window(), -WHEEL_DELTA, over.x, over.y);
    EXPECT_DOUBLE_EQ(view().zoom, 1.0) << "the main window hands the wheel over the preview on";

    const int32_t panX = view().panX;
    mouse(WM_RBUTTONDOWN, 100, 100, MK_RBUTTON);
    EXPECT_EQ(GetCapture(), preview());
    mouse(WM_MOUSEMOVE, 130, 90, MK_RBUTTON);
    mouse(WM_RBUTTONUP, 130, 90);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(view().panX, panX + 30);
    shell.choose(RenderEngineComboId, 1);
    shell.click(Preview3dBoxId);
    mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, 120, 110, MK_LBUTTON);
    mouse(WM_LBUTTONUP, 120, 110);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_NE(view().yaw, 35.0);
    mouse(WM_LBUTTONDBLCLK, 5, 5);
    EXPECT_EQ(view().yaw, 35.0);
    EXPECT_EQ(view().panX, 0);
    EXPECT_EQ(shell.status(), L"View fitted.");
}

// The plan's outlines are green, sheets are framed in grey, and the GDI 3D view has a grey frame. Wine shows no Direct3D frame in a
// child window, so the GPU engine is seen by its device and by no fallback being announced.
TEST_F(PreviewWindow, EachEnginePaintsTheDesignAndDirect3dFallsBackToGdi) {
    EXPECT_GT(pixels(0x007800), 500);
    RECT client{};
    GetClientRect(preview(), &client);
    const std::vector<uint32_t> plan = clientPixels(preview());
    long sizeText = 0;  // the plan's size, top right in the hint's grey
    for (long y = 4; y < 24; ++y) {
        const auto rowEnd = plan.begin() + (y + 1) * client.right;
        sizeText += std::count(rowEnd - 160, rowEnd, 0x5A5A5Au);
    }
    EXPECT_GT(sizeText, 20);
    // On sheets, each sheet's frame in its grey; the plan's outlines still on them.
    const long sheetEdges = pixels(0x969696);
    shell.choose(SheetSizeComboId, 1);
    shell.click(UpdateButtonId);
    EXPECT_GT(pixels(0x969696), sheetEdges + 1000);
    EXPECT_GT(pixels(0x007800), 500);
    shell.choose(SheetSizeComboId, 0);
    shell.click(UpdateButtonId);
    shell.click(Preview3dBoxId);
    shell.choose(RenderEngineComboId, 1);
    EXPECT_LT(pixels(0x007800), 50);
    EXPECT_GT(pixels(0xAAAAAA), 100);

    setDirect3DUnavailable(true);
    for (int engine : {0, 2}) {
        shell.choose(RenderEngineComboId, engine);
        SetWindowTextW(shell.app().statusLine(), L"before");
        EXPECT_GT(pixels(0xAAAAAA), 100) << "drawn with GDI";
        EXPECT_EQ(shell.status(), engine == 0 ? L"before"
                                              : L"Direct3D 9 not available. Using compatible GDI. Direct3DCreate9 "
                                                L"fallo. Direct3D 9 no esta disponible.");
    }
    setDirect3DUnavailable(false);
    shell.choose(RenderEngineComboId, 2);
    pixels(0);
    EXPECT_EQ(shell.status(), L"3D engine selected: Direct3D 9 GPU");
    ASSERT_TRUE(shell.app().renderer().hasDeviceFor(preview())) << wideToUtf8(shell.app().renderer().lastError());
    SetWindowPos(shell.window(), nullptr, 0, 0, 1000, 700, SWP_NOZORDER);
    GetClientRect(preview(), &client);
    EXPECT_EQ(shell.app().renderer().width(), client.right) << "the back buffer follows a resize";
    shell.click(Preview3dBoxId);
    EXPECT_FALSE(shell.app().renderer().hasDeviceFor(preview())) << "leaving 3D frees the device";
}

TEST_F(PreviewWindow, ALostMouseEndsTheDragAndAutomaticTriesDirect3dOncePerSize) {
    for (UINT loss : {WM_CAPTURECHANGED, WM_CANCELMODE, WM_LBUTTONDBLCLK}) {
        mouse(WM_RBUTTONDOWN, 100, 100, MK_RBUTTON);
        ASSERT_EQ(GetCapture(), preview());
        if (loss == WM_CAPTURECHANGED) {
            SetCapture(shell.window());  // another window takes the mouse, and the button's release
            ReleaseCapture();
        } else {
            mouse(loss, 100, 100);
        }
        const int32_t panX = view().panX;
        mouse(WM_MOUSEMOVE, 160, 100);
        EXPECT_EQ(view().panX, panX) << "no drag follows an unheld mouse";
        mouse(WM_RBUTTONUP, 160, 100);
        EXPECT_EQ(GetCapture(), nullptr) << loss;
    }

    setDirect3DUnavailable(true);
    const auto attemptsIn = [&](int paints) {
        const int before = direct3DCreations();
        while (paints-- > 0) pixels(0);
        return direct3DCreations() - before;
    };
    shell.click(Preview3dBoxId);
    EXPECT_EQ(attemptsIn(4), 1);
    SetWindowPos(shell.window(), nullptr, 0, 0, 1100, 800, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(attemptsIn(3), 1) << "a new size tries again";
    shell.choose(RenderEngineComboId, 0);
    EXPECT_EQ(attemptsIn(3), 1) << "so does choosing the engine";
}

}  // namespace
