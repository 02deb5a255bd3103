#include <gtest/gtest.h>

#include "dib_surface_win32.h"
#include "frame_capture_win32.h"
#include "piece_builders.h"
#include "preview/direct3d_renderer_win32.h"
#include "preview/gdi_3d_view.h"
#include "preview/gdi_canvas_win32.h"
#include "preview/plan_preview.h"
#include "preview/preview_paint_win32.h"
#include "support/process_usage_win32.h"
#include "test_window_win32.h"

namespace {

const PreviewTexts kTexts{L"2D preview", L"No pieces generated.", L"Zoom %d%%", L"3D preview: invalid parameters.",
                          L"Direct3D 9 not available. Using compatible GDI."};

bool closeTo(Rgb a, Rgb b, int tolerance = 0) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance && std::abs(a.b - b.b) <= tolerance;
}

// Finds any pixel of the colour inside the rectangle.
bool anyPixel(const DibSurface& dib, Rgb color, int left, int top, int right, int bottom) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (dib.pixel(x, y) == color) return true;
        }
    }
    return false;
}

TEST(GdiCanvasTest, PaintsTheCutPlanIntoARealBitmap) {
    // 300 x 150 panel with a dogbone arc and a base slot: scale 2, origin (24, 24) in 648 x 372.
    CutPath panel = rectanglePath(300, 150);
    panel.push_back(arcSegment({150, 75}, {150, 95}, {150, 85}, 10, true));
    const PieceSet pieces{handPiece(L"Base", 0, 0, panel),
                          handPiece(L"Ranura", 100, 30, rectanglePath(3, 90), false, true)};
    DibSurface dib(648, 372);
    ASSERT_TRUE(dib.valid());
    const int before = gdiObjectCount();
    {
        GdiCanvas canvas(dib.dc());
        paintCutPlan(canvas, dib.rect(), pieces, 0, 0, L"2D preview", L"", L"Zoom %d%%", 1.0);
    }
    EXPECT_EQ(gdiObjectCount(), before);
    EXPECT_EQ(dib.pixel(300, 200), (Rgb{250, 250, 250}));  // background inside the panel
    EXPECT_EQ(dib.pixel(0, 0), (Rgb{190, 190, 190}));      // frame
    EXPECT_EQ(dib.pixel(647, 371), (Rgb{250, 250, 250}));  // the frame stops one pixel short, as Rectangle does
    EXPECT_EQ(dib.pixel(646, 370), (Rgb{190, 190, 190}));
    EXPECT_EQ(dib.pixel(400, 24), (Rgb{0, 120, 0}));       // top edge of the panel
    EXPECT_EQ(dib.pixel(224, 120), (Rgb{160, 0, 160}));    // left edge of the slot
    EXPECT_TRUE(anyPixel(dib, Rgb{20, 80, 200}, 300, 180, 350, 220));  // the arc about (324, 194)
    EXPECT_TRUE(anyPixel(dib, Rgb{90, 90, 90}, 10, 8, 100, 24));      // title text
}

TEST(GdiCanvasTest, PaintsTheGdi3dViewIntoARealBitmap) {
    DibSurface dib(860, 640);
    ASSERT_TRUE(dib.valid());
    BoxParameters parameters;
    parameters.cutMode = CutMode::CncRouter;
    parameters.toolDiameter = 3.0;  // fits the divider slots
    parameters.includeLid = true;
    parameters.widthDividerCount = 2;
    const int before = gdiObjectCount();
    {
        GdiCanvas canvas(dib.dc());
        drawGdi3dView(canvas, dib.rect(), parameters, 0, 0, L"", 1.0, 35.0, -22.0);
    }
    EXPECT_EQ(gdiObjectCount(), before);
    EXPECT_EQ(dib.pixel(5, 300), (Rgb{250, 250, 250}));
    EXPECT_EQ(dib.pixel(0, 300), (Rgb{170, 170, 170}));
    // The box sits in the middle: some face colour and green joints show there.
    const Rgb centre = dib.pixel(430, 330);
    EXPECT_NE(centre, (Rgb{250, 250, 250}));
    EXPECT_TRUE(anyPixel(dib, Rgb{0, 92, 0}, 150, 60, 710, 600));
    EXPECT_TRUE(anyPixel(dib, Rgb{0, 80, 210}, 150, 60, 710, 600));
    EXPECT_TRUE(anyPixel(dib, Rgb{70, 70, 70}, 10, 10, 300, 26));
}

TEST(PaintPreviewTest, AnnouncedAndSilentFallbacks) {
    DibSurface dib(400, 300);
    ASSERT_TRUE(dib.valid());
    PreviewViewState view;
    view.show3D = true;
    Direct3DRenderer renderer;

    view.renderMode = RenderMode::Automatic;
    EXPECT_FALSE(paintPreview(nullptr, dib.dc(), dib.rect(), view, renderer, BoxParameters{}, {}, kTexts).has_value());
    EXPECT_EQ(dib.pixel(0, 150), (Rgb{170, 170, 170}));  // the GDI 3D frame

    view.renderMode = RenderMode::Direct3D9;
    EXPECT_EQ(paintPreview(nullptr, dib.dc(), dib.rect(), view, renderer, BoxParameters{}, {}, kTexts),
              std::optional<std::wstring>(L"Direct3D 9 not available. Using compatible GDI."));

    // A device that cannot be made (a back buffer far too large) leaves its reason, which the announcement carries.
    TestWindow owner(100, 100);
    HWND huge = CreateWindowW(L"STATIC", L"", WS_CHILD, 0, 0, 30000, 30000, owner.get(), nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(huge, nullptr);
    ASSERT_TRUE(renderer.attachWindow(huge));
    EXPECT_FALSE(renderer.createDevice());
    EXPECT_EQ(renderer.lastError(), L"No se pudo crear el dispositivo Direct3D 9. Se debe usar GDI compatible.");
    EXPECT_FALSE(renderer.renderFrame(BoxParameters{}, 0, 0, 1.0, 35.0, -22.0));
    EXPECT_EQ(paintPreview(nullptr, dib.dc(), dib.rect(), view, renderer, BoxParameters{}, {}, kTexts),
              std::optional<std::wstring>(L"Direct3D 9 not available. Using compatible GDI. No se pudo crear el "
                                          L"dispositivo Direct3D 9. Se debe usar GDI compatible."));

    view.renderMode = RenderMode::Gdi;
    EXPECT_FALSE(paintPreview(nullptr, dib.dc(), dib.rect(), view, renderer, BoxParameters{}, {}, kTexts).has_value());

    view.show3D = false;
    view.renderMode = RenderMode::Direct3D9;
    EXPECT_FALSE(paintPreview(nullptr, dib.dc(), dib.rect(), view, renderer, BoxParameters{}, {}, kTexts).has_value());
    EXPECT_EQ(dib.pixel(0, 150), (Rgb{190, 190, 190}));  // the cut plan's frame
}

TEST(Direct3DRendererTest, WithoutWindowOrObjectFramesFail) {
    Direct3DRenderer renderer;
    EXPECT_FALSE(renderer.resetDevice());
    EXPECT_FALSE(renderer.renderFrame(BoxParameters{}, 0, 0, 1.0, 35.0, -22.0));
    EXPECT_TRUE(renderer.lastError().empty());
    EXPECT_FALSE(renderer.hasDeviceFor(nullptr));
}

TEST(Direct3DRendererTest, PresentsARealFrameAndFallsBackOnARefusedDesign) {
    TestWindow window(400, 300);
    ASSERT_NE(window.get(), nullptr);
    Direct3DRenderer renderer;
    ASSERT_TRUE(renderer.attachWindow(window.get()));
    ASSERT_TRUE(renderer.createDevice()) << std::string(renderer.lastError().begin(), renderer.lastError().end());
    EXPECT_TRUE(renderer.hasDeviceFor(window.get()));
    EXPECT_FALSE(renderer.hasDeviceFor(nullptr));
    EXPECT_EQ(renderer.width(), 400);
    EXPECT_EQ(renderer.height(), 300);

    BoxParameters parameters;
    parameters.includeLid = true;
    parameters.cutMode = CutMode::CncRouter;
    ASSERT_TRUE(renderer.renderFrame(parameters, 0, 0, 1.0, 35.0, -22.0));
    EXPECT_TRUE(renderer.lastError().empty());

    DibSurface frame(400, 300);
    ASSERT_TRUE(capturePresentedFrame(window.get(), frame));
    EXPECT_TRUE(closeTo(frame.pixel(3, 3), Rgb{250, 250, 250}, 1))
        << int(frame.pixel(3, 3).r) << " " << int(frame.pixel(3, 3).g) << " " << int(frame.pixel(3, 3).b);
    EXPECT_FALSE(closeTo(frame.pixel(200, 150), Rgb{250, 250, 250}, 1));

    BoxParameters refused;
    refused.materialThickness = -1.0;
    EXPECT_FALSE(renderer.renderFrame(refused, 0, 0, 1.0, 35.0, -22.0));
    EXPECT_TRUE(renderer.lastError().empty());

    // A repaint through the window's paint path uses the same device and draws nothing with GDI.
    PreviewViewState view;
    view.show3D = true;
    DibSurface untouched(400, 300);
    ASSERT_TRUE(untouched.valid());
    EXPECT_FALSE(paintPreview(window.get(), untouched.dc(), untouched.rect(), view, renderer, parameters, {}, kTexts)
                     .has_value());
    EXPECT_EQ(untouched.pixel(0, 150), (Rgb{0, 0, 0}));
    EXPECT_TRUE(renderer.hasDeviceFor(window.get()));

    SetWindowPos(window.get(), nullptr, 0, 0, 500, 420, SWP_NOMOVE | SWP_NOZORDER);
    TestWindow::pump();
    EXPECT_TRUE(renderer.resetDevice());
    EXPECT_TRUE(renderer.renderFrame(parameters, 10, -10, 2.0, 120.0, 30.0));

    renderer.releaseDevice();
    EXPECT_FALSE(renderer.hasDeviceFor(window.get()));
    EXPECT_EQ(renderer.width(), 0);
    EXPECT_FALSE(renderer.renderFrame(parameters, 0, 0, 1.0, 35.0, -22.0));
}

}  // namespace
