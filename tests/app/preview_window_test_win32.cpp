// The preview window inside the real main window: mouse input, painting and the 3D engines.
#include "app_test_support_win32.h"

#include "app/control_ids.h"
#include "preview/frame_capture_win32.h"
#include "preview/plan_preview.h"
#include "preview/preview_paint_win32.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

class PreviewWindowTest : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    // The window saves the settings as it closes: close it before the folder goes.
    void TearDown() override {
        harness.close();
        setDirect3DUnavailableForTesting(false);
        removeSettingsFolder();
    }

    // English texts, then everything painted, so a later update region is the tests' own doing.
    void start() {
        harness.choose(harness.app().languageCombo, 0);
        settle();
    }
    void settle() {
        pumpMessagesFor(50);
        UpdateWindow(preview());
    }
    HWND preview() { return harness.app().previewWindow; }
    PreviewViewState& view() { return harness.app().view; }
    bool repaintPending() { return GetUpdateRect(preview(), nullptr, FALSE) != FALSE; }

    // One wheel notch at client (x, y) of the preview; the message carries screen coordinates.
    void wheel(int delta, int x, int y) {
        POINT screen{x, y};
        ClientToScreen(preview(), &screen);
        SendMessageW(preview(), WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))),
                     MAKELPARAM(screen.x, screen.y));
    }
    void mouse(UINT message, int x, int y, WPARAM keys = 0) {
        SendMessageW(preview(), message, keys, MAKELPARAM(x, y));
    }
    void show3D(RenderMode mode) {
        harness.choose(harness.app().renderEngineCombo, static_cast<int>(mode));
        SendMessageW(harness.app().preview3dBox, BM_SETCHECK, BST_CHECKED, 0);
        harness.command(Preview3dBoxId, BN_CLICKED, harness.app().preview3dBox);
    }
    // The preview's client area as its own surface holds it.
    void capture(DibSurface& picture) {
        HDC dc = GetDC(preview());
        BitBlt(picture.dc(), 0, 0, picture.width(), picture.height(), dc, 0, 0, SRCCOPY);
        ReleaseDC(preview(), dc);
    }
    std::wstring status() { return textOf(harness.app().statusLine); }

    AppHarness harness{true};
};

int countPixels(const DibSurface& picture, Rgb colour) {
    int count = 0;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) count += picture.pixel(x, y) == colour ? 1 : 0;
    }
    return count;
}

TEST_F(PreviewWindowTest, WheelStepsZoomUntilTheLimitsAndThenStopRepainting) {
    start();
    struct Case {
        const char* name;
        int delta;
        int stepsToLimit;
        double limit;
    };
    const Case cases[] = {{"forward", WHEEL_DELTA, 15, 8.0}, {"back", -WHEEL_DELTA, 12, 0.2}, {"zero delta", 0, 12, 0.2}};
    for (const Case& c : cases) {
        for (bool threeD : {false, true}) {
            view() = PreviewViewState{};
            view().show3D = threeD;
            view().renderMode = RenderMode::Gdi;
            settle();
            double expected = 1.0;
            for (int step = 1; step <= c.stepsToLimit; ++step) {
                wheel(c.delta, 200, 150);
                expected = c.delta > 0 ? expected * 1.15 : expected / 1.15;
                if (step < c.stepsToLimit) {
                    EXPECT_DOUBLE_EQ(view().zoom, expected) << c.name << " step " << step;
                } else {
                    EXPECT_EQ(view().zoom, c.limit) << c.name << " stops exactly at the limit";
                }
                EXPECT_TRUE(repaintPending()) << c.name << " step " << step;
                UpdateWindow(preview());
            }
            const PreviewViewState atLimit = view();
            wheel(c.delta, 200, 150);
            EXPECT_EQ(view().zoom, c.limit) << c.name;
            EXPECT_EQ(view().panX, atLimit.panX) << c.name;
            EXPECT_FALSE(repaintPending()) << c.name << ": no repaint at the limit";
        }
    }
}

TEST_F(PreviewWindowTest, TheWheelKeepsThePlanPointUnderTheCursorIn2d) {
    start();
    Application& app = harness.app();
    ASSERT_FALSE(app.pieces.empty());
    const PlanFit fit = fitPlan(clientRectOf(preview()), app.pieces);
    const Point2 corner = placedPath(app.pieces.front()).front().start;
    struct Case {
        int delta;
        int steps;
    };
    // Each step may move the point by the truncation of the pan, never more.
    for (const Case& c : {Case{WHEEL_DELTA, 6}, Case{-WHEEL_DELTA, 5}, Case{WHEEL_DELTA, 14}}) {
        view() = PreviewViewState{};
        view().panX = 31;
        view().panY = -17;
        for (int step = 0; step < c.steps; ++step) {
            const PixelPoint cursor = mapPlanPoint(PlanView{fit, view().zoom, view().panX, view().panY}, corner);
            wheel(c.delta, cursor.x, cursor.y);
            const PixelPoint now = mapPlanPoint(PlanView{fit, view().zoom, view().panX, view().panY}, corner);
            EXPECT_LE(std::abs(now.x - cursor.x), 1) << c.delta << " step " << step;
            EXPECT_LE(std::abs(now.y - cursor.y), 1) << c.delta << " step " << step;
        }
        EXPECT_NE(view().zoom, 1.0);
    }
}

TEST_F(PreviewWindowTest, TheMainWindowHandsTheWheelOverThePreviewToIt) {
    start();
    RECT area{};
    GetWindowRect(preview(), &area);
    SendMessageW(harness.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                 MAKELPARAM((area.left + area.right) / 2, (area.top + area.bottom) / 2));
    EXPECT_DOUBLE_EQ(view().zoom, 1.15);
}

TEST_F(PreviewWindowTest, LeftDragsRotateIn3dWithinTheLimits) {
    start();
    show3D(RenderMode::Gdi);
    struct Case {
        int dx;
        int dy;
        double yaw;
        double pitch;
    };
    const Case cases[] = {
        {100, 0, 350.0, -22.0},   // 35 - 45 wraps below zero
        {0, 300, 35.0, -89.0},    // tilts past the bottom
        {0, -400, 35.0, 89.0},    // and past the top
        {-800, 20, 35.0 + 360.0, -29.0},
        {-20, -20, 44.0, -15.0},
    };
    for (const Case& c : cases) {
        view() = PreviewViewState{};
        view().show3D = true;
        view().renderMode = RenderMode::Gdi;
        settle();
        mouse(WM_LBUTTONDOWN, 300, 350, MK_LBUTTON);
        EXPECT_EQ(GetCapture(), preview());
        mouse(WM_MOUSEMOVE, 300 + c.dx / 2, 350 + c.dy / 2, MK_LBUTTON);
        mouse(WM_MOUSEMOVE, 300 + c.dx, 350 + c.dy, MK_LBUTTON);
        EXPECT_TRUE(repaintPending());
        mouse(WM_LBUTTONUP, 300 + c.dx, 350 + c.dy);
        EXPECT_NE(GetCapture(), preview());
        EXPECT_FALSE(view().rotating);
        EXPECT_NEAR(view().yaw, std::fmod(c.yaw, 360.0), 1e-9) << c.dx << "," << c.dy;
        EXPECT_NEAR(view().pitch, c.pitch, 1e-9) << c.dx << "," << c.dy;
        EXPECT_EQ(view().panX, 0);
    }
}

TEST_F(PreviewWindowTest, LeftButtonDoesNothingIn2dWhileOtherButtonsPan) {
    start();
    mouse(WM_LBUTTONDOWN, 100, 100, MK_LBUTTON);
    mouse(WM_MOUSEMOVE, 180, 40, MK_LBUTTON);
    mouse(WM_LBUTTONUP, 180, 40);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_FALSE(repaintPending());
    EXPECT_EQ(view().yaw, 35.0);
    EXPECT_EQ(view().panX, 0);

    for (UINT down : {WM_RBUTTONDOWN, WM_MBUTTONDOWN}) {
        view() = PreviewViewState{};
        mouse(down, 100, 100);
        EXPECT_EQ(GetCapture(), preview());
        mouse(WM_MOUSEMOVE, 130, 90);
        mouse(WM_MOUSEMOVE, 150, 70);
        mouse(down + 1, 150, 70);  // the matching button-up message
        EXPECT_EQ(GetCapture(), nullptr);
        EXPECT_EQ(view().panX, 50);
        EXPECT_EQ(view().panY, -30);
        EXPECT_FALSE(view().panning);
    }
}

TEST_F(PreviewWindowTest, DoubleClickAndTheFitButtonRestoreTheView) {
    start();
    for (bool button : {false, true}) {
        view().zoom = 3.0;
        view().panX = 40;
        view().panY = -9;
        view().yaw = 100.0;
        view().pitch = 12.0;
        view().panning = true;
        SetWindowTextW(harness.app().statusLine, L"before");
        if (button) {
            harness.command(FitViewButtonId, BN_CLICKED, nullptr);
        } else {
            mouse(WM_LBUTTONDBLCLK, 10, 10);
        }
        const PreviewViewState& v = view();
        EXPECT_EQ(v.zoom, 1.0);
        EXPECT_EQ(v.panX, 0);
        EXPECT_EQ(v.panY, 0);
        EXPECT_EQ(v.yaw, 35.0);
        EXPECT_EQ(v.pitch, -22.0);
        EXPECT_FALSE(v.panning);
        EXPECT_EQ(status(), L"View fitted.");
        EXPECT_TRUE(repaintPending());
    }
}

TEST_F(PreviewWindowTest, PaintsThePlanAndTheGdi3dViewIntoTheWindow) {
    start();
    const ClientRect client = clientRectOf(preview());
    DibSurface picture(client.right, client.bottom);
    ASSERT_TRUE(picture.valid());
    capture(picture);
    EXPECT_EQ(picture.pixel(0, client.bottom / 2), (Rgb{190, 190, 190}));  // frame
    EXPECT_EQ(picture.pixel(5, client.bottom / 2), (Rgb{250, 250, 250}));  // background
    EXPECT_GT(countPixels(picture, Rgb{0, 120, 0}), 500);                    // green outlines

    show3D(RenderMode::Gdi);
    EXPECT_EQ(status(), L"3D view active. Engine: GDI compatible. Drag with left click to rotate.");
    UpdateWindow(preview());
    capture(picture);
    EXPECT_EQ(picture.pixel(0, client.bottom / 2), (Rgb{170, 170, 170}));
    EXPECT_LT(countPixels(picture, Rgb{0, 120, 0}), 50);
    EXPECT_FALSE(harness.app().renderer.hasDeviceFor(preview()));
}

TEST_F(PreviewWindowTest, Direct3dPresentsAFrameAndFollowsAResize) {
    start();
    show3D(RenderMode::Direct3D9);
    SetWindowTextW(harness.app().statusLine, L"before");
    UpdateWindow(preview());
    Application& app = harness.app();
    ASSERT_TRUE(app.renderer.hasDeviceFor(preview())) << std::string(app.renderer.lastError().begin(), app.renderer.lastError().end());
    EXPECT_EQ(status(), L"before");
    const ClientRect client = clientRectOf(preview());
    DibSurface frame(client.right, client.bottom);
    ASSERT_TRUE(capturePresentedFrame(preview(), frame));
    EXPECT_EQ(frame.pixel(3, 3), (Rgb{250, 250, 250}));  // the scene's clear colour
    int drawn = 0;  // pixels of the box, well away from the clear colour
    for (int y = 0; y < client.bottom; y += 2) {
        for (int x = 0; x < client.right; x += 2) {
            const Rgb p = frame.pixel(x, y);
            drawn += std::abs(p.r - 250) + std::abs(p.g - 250) + std::abs(p.b - 250) > 60 ? 1 : 0;
        }
    }
    EXPECT_GT(drawn, 2000);

    harness.setClientSize(1000, 700);
    EXPECT_TRUE(app.renderer.hasDeviceFor(preview()));
    EXPECT_EQ(app.renderer.width(), clientRectOf(preview()).right);
    EXPECT_EQ(app.renderer.height(), clientRectOf(preview()).bottom);

    // Leaving 3D frees the device.
    SendMessageW(app.preview3dBox, BM_SETCHECK, BST_UNCHECKED, 0);
    harness.command(Preview3dBoxId, BN_CLICKED, app.preview3dBox);
    EXPECT_FALSE(app.renderer.hasDeviceFor(preview()));
    EXPECT_EQ(status(), L"2D cutting view active.");
}

TEST_F(PreviewWindowTest, WithoutDirect3dTheGdiViewIsDrawnSilentlyInAutomaticAndAnnouncedInDirect3d9) {
    start();
    setDirect3DUnavailableForTesting(true);
    struct Case {
        RenderMode mode;
        const wchar_t* status;
    };
    const Case cases[] = {
        {RenderMode::Automatic, L"before"},
        {RenderMode::Direct3D9,
         L"Direct3D 9 not available. Using compatible GDI. Direct3DCreate9 fallo. Direct3D 9 no esta disponible."},
        {RenderMode::Gdi, L"before"},
    };
    const ClientRect client = clientRectOf(preview());
    DibSurface picture(client.right, client.bottom);
    for (const Case& c : cases) {
        show3D(c.mode);
        SetWindowTextW(harness.app().statusLine, L"before");
        InvalidateRect(preview(), nullptr, FALSE);
        UpdateWindow(preview());
        EXPECT_EQ(status(), c.status);
        EXPECT_FALSE(harness.app().renderer.hasDeviceFor(preview()));
        capture(picture);
        EXPECT_EQ(picture.pixel(0, client.bottom / 2), (Rgb{170, 170, 170})) << "drawn with GDI";
    }
}

}  // namespace
