#include "preview/recording_canvas.h"

#include <gtest/gtest.h>

namespace {

// The painters' object checks are only as good as the recorder's: it must see each broken rule.
TEST(RecordingCanvasTest, NoticesEveryBrokenObjectRule) {
    struct Case {
        const char* name;
        void (*misuse)(RecordingCanvas&);
        bool faulty;
        int32_t live;
        bool restored;
    };
    const Case cases[] = {
        {"kept the rules",
         [](RecordingCanvas& c) {
             const CanvasObject pen = c.createPen(PenStyle::Solid, 1, Rgb{1, 2, 3});
             const CanvasObject old = c.select(pen);
             c.select(old);
             c.deleteObject(pen);
         },
         false, 0, true},
        {"leaked a brush", [](RecordingCanvas& c) { c.createSolidBrush(Rgb{}); }, false, 1, true},
        {"deleted while selected",
         [](RecordingCanvas& c) {
             const CanvasObject pen = c.createPen(PenStyle::Dot, 1, Rgb{});
             c.select(pen);
             c.deleteObject(pen);
         },
         true, 1, false},
        {"left a font selected", [](RecordingCanvas& c) { c.select(c.stockObject(StockObject::DefaultGuiFont)); },
         false, 0, false},
        {"deleted a stock object", [](RecordingCanvas& c) { c.deleteObject(c.stockObject(StockObject::HollowBrush)); },
         true, 0, true},
        {"used a deleted object",
         [](RecordingCanvas& c) {
             const CanvasObject brush = c.createSolidBrush(Rgb{});
             c.deleteObject(brush);
             c.select(brush);
             c.deleteObject(brush);
         },
         true, 0, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingCanvas canvas;
        c.misuse(canvas);
        EXPECT_EQ(!canvas.faults().empty(), c.faulty);
        EXPECT_EQ(canvas.liveObjects(), c.live);
        EXPECT_EQ(canvas.selectionsAtStart(), c.restored);
    }
}

TEST(RecordingCanvasTest, RecordsTheStateEachPrimitiveWasDrawnWith) {
    RecordingCanvas canvas;
    const CanvasObject pen = canvas.createPen(PenStyle::Dot, 2, Rgb{9, 8, 7});
    const CanvasObject brush = canvas.createSolidBrush(Rgb{1, 1, 1});
    {
        ScopedCanvasSelection penSelection(canvas, pen);
        ScopedCanvasSelection brushSelection(canvas, brush);
        canvas.moveTo(PixelPoint{1, 2});
        canvas.lineTo(PixelPoint{3, 4});
        canvas.lineTo(PixelPoint{5, 6});
        const PixelPoint triangle[] = {{0, 0}, {4, 0}, {0, 4}};
        canvas.polygon(triangle);
    }
    canvas.deleteObject(pen);
    canvas.deleteObject(brush);
    const auto& all = canvas.primitives();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].points, (std::vector<PixelPoint>{{1, 2}, {3, 4}}));
    EXPECT_EQ(all[1].points, (std::vector<PixelPoint>{{3, 4}, {5, 6}}));
    EXPECT_EQ(all[1].pen, (RecordedPen{PenStyle::Dot, 2, Rgb{9, 8, 7}}));
    EXPECT_EQ(all[2].brush, (Rgb{1, 1, 1}));
    EXPECT_TRUE(canvas.faults().empty());
    EXPECT_EQ(canvas.liveObjects(), 0);
    EXPECT_TRUE(canvas.selectionsAtStart());
}

}  // namespace
