// The shell's portable parts: numbers as the panel reads and shows them, panel scrolling, the product
// page's version reply, the undo steps and where the window opens.
#include "app/design_history.h"
#include "app/length_text.h"
#include "app/panel_scroll.h"
#include "app/update_reply.h"
#include "app/window_placement.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace {

TEST(PanelNumbers, ReadTheLeadingNumberAndShowFourDecimals) {
    const std::pair<const wchar_t*, std::optional<double>> numbers[] = {
        {L"12,5", 12.0},  {L"  \t-3.5", -3.5}, {L"+.25", 0.25},        {L"5.", 5.0},           {L"2.5E-1x", 0.25},
        {L"1e+", 1.0},    {L"3.175.2", 3.175}, {L"0x10", 0.0},         {L"1e-400", 0.0},       {L"0.000e-400", 0.0},
        {L"", std::nullopt}, {L".", std::nullopt}, {L"+-5", std::nullopt}, {L"e5", std::nullopt},
        {L"inf", std::nullopt}, {L"1e999", std::nullopt}, {L"123e400", std::nullopt}, {L"\x0662", std::nullopt},
    };
    for (const auto& [text, value] : numbers)
        EXPECT_EQ(scanLeadingNumber(text, Underflow::Zero), value) << wideToUtf8(text);
    const std::wstring tiny = L"0." + std::wstring(400, L'0') + L"1";
    EXPECT_EQ(scanLeadingNumber(tiny, Underflow::Zero), 0.0) << "too small to hold is zero";
    EXPECT_EQ(scanLeadingNumber("1e-400", Underflow::NoNumber), std::nullopt) << "where JSON files read numbers";

    const std::pair<const wchar_t*, std::optional<int32_t>> counts[] = {
        {L" +7abc", 7},  {L"-2", -2}, {L"4.9", 4}, {L"99999999999", 2147483647}, {L"-99999999999", -2147483647 - 1},
        {L"", std::nullopt}, {L"x1", std::nullopt}, {L"- 1", std::nullopt},
    };
    for (const auto& [text, value] : counts)
        EXPECT_EQ(scanLeadingInteger(skipSpace(text), Sign::Allowed), value) << wideToUtf8(text);

    const std::tuple<double, bool, const wchar_t*> shown[] = {
        {200.0, false, L"200"},   {0.15, false, L"0.15"}, {150.0, true, L"5.9055"}, {200.0, true, L"7.874"},
        {7.874 * 25.4, false, L"199.9996"}, {254.0, true, L"10"}, {-0.00004, false, L"0"}, {-2.5, false, L"-2.5"},
        {0.99999, false, L"1"},
    };
    for (const auto& [valueMm, inches, text] : shown) EXPECT_EQ(lengthText(valueMm, inches), text) << valueMm;
    const PlanExtent plan = planExtent(generatePieces(BoxParameters{}));
    EXPECT_EQ(planSizeText(plan, false), L"424 x 374 mm");
    EXPECT_EQ(planSizeText(plan, true), L"16.6929 x 14.7244 in");
}

TEST(PanelScroll, ClampsWheelNotchesAndScrollBarRequests) {
    // A client at least one pixel high; a partial wheel notch moves nothing.
    const std::pair<int32_t, int32_t> positions[] = {
        {maxPanelScroll(1000, 600), 400},        {maxPanelScroll(500, 600), 0},
        {maxPanelScroll(1000, 0), 999},          {clampPanelScroll(-5, 1000, 600), 0},
        {clampPanelScroll(401, 1000, 600), 400}, {clampPanelScroll(123, 1000, 600), 123},
        {wheelScrollTarget(100, 120), 40},       {wheelScrollTarget(100, -240), 220},
        {wheelScrollTarget(100, 119), 100},
    };
    for (size_t i = 0; i < std::size(positions); ++i) EXPECT_EQ(positions[i].first, positions[i].second) << i;
    const ScrollBarState bar{100, 300, 0, 999, 37};
    const std::pair<ScrollRequest, int32_t> requests[] = {
        {ScrollRequest::LineUp, 76},   {ScrollRequest::LineDown, 124}, {ScrollRequest::PageUp, -200},
        {ScrollRequest::PageDown, 400}, {ScrollRequest::ThumbTrack, 37}, {ScrollRequest::Top, 0},
        {ScrollRequest::Bottom, 999},  {ScrollRequest::Other, 100},
    };
    for (const auto& [request, target] : requests) EXPECT_EQ(scrollRequestTarget(request, bar), target);
}

TEST(UpdateReply, ScansStringMembersComparesVersionsAndOpensOnlyWebAddresses) {
    const std::wstring page = L"https://orvell.example/tessaro/";
    const struct {
        const char* body;
        bool found;
        bool newer;
        const wchar_t* version;
        const wchar_t* address;
        const wchar_t* message;
    } replies[] = {
        {R"({"latestVersion": "0.2.0", "downloadUrl": "https://d/", "message": "a\"b\\c\/d\ne\tf\rg"})", true, true,
         L"0.2.0", L"https://d/", L"a\"b\\c/d\ne\tf\rg"},
        {R"({"latestVersion": "0.1.0.0.1"})", true, false, L"0.1.0.0.1", page.c_str(), L""},
        {R"({"latestVersion": "0.1.1", "downloadUrl": ""})", true, true, L"0.1.1", page.c_str(), L""},
        {R"({"latestVersion": "", "version": "v0.2", "url": "https://u/"})", true, true, L"v0.2", L"https://u/", L""},
        // A number is no version: the scan takes the next quoted text, here the next member's name.
        {R"({"latestVersion": 1, "downloadUrl": "https://d/"})", true, false, L"downloadUrl", L"https://d/", L""},
        {R"({"latestVersion" "no colon"})", false, false, L"", page.c_str(), L""},
        {"<html><body>404 Not Found</body></html>", false, false, L"", page.c_str(), L""},
        {"{\"latestVersion\": \"0.4\", \"message\": \"caf\xc3\xa9\"}", true, true, L"0.4", page.c_str(), L"caf\u00e9"},
    };
    for (const auto& c : replies) {
        UpdateCheckResult result;
        result.message = L"left over";
        EXPECT_EQ(readUpdateReply(c.body, page, result), c.found) << c.body;
        EXPECT_EQ(result.latestVersion, c.version) << c.body;
        EXPECT_EQ(result.updateAvailable, c.newer) << c.body;
        EXPECT_EQ(result.message, c.message) << c.body;
        if (c.found) {
            EXPECT_EQ(result.downloadUrl, c.address) << c.body;
        }
    }

    const std::pair<const wchar_t*, bool> versions[] = {
        {L"0.1", false}, {L"0.0.9", false}, {L"1", true},        {L"0.1.0.1", true},    {L"V 0.1-beta.1", true},
        {L"garbage", false}, {L"0.99999999999999999999", true}, {L"2147483647.0", true},
    };
    for (const auto& [latest, newer] : versions) EXPECT_EQ(isNewerVersion(kInstalledVersion, latest), newer);
    EXPECT_FALSE(isNewerVersion(L"2147483647.99999999999999999999", L"2147483647.2147483647"));

    // Hostile addresses are the text readers' seeds.
    for (const wchar_t* web : {L"HTTP://mirror.example/t.zip", L"https://orvell.example/download"})
        EXPECT_EQ(downloadAddressToOpen(web, page), web);
}

// Against a plain list of every design recorded: undo walks back through it, redo forward again.
TEST(DesignHistory, UndoAndRedoWalkTheRecordedDesignsAndKeepTheLastHundred) {
    DesignHistory history;
    EXPECT_FALSE(history.undo()) << "nothing before the first design";
    for (double width = 1; width <= 150; ++width) {
        history.record({.inputWidth = width});
        history.record({.inputWidth = width});  // the same design again is no step
    }
    for (int width = 149; width >= 50; --width) EXPECT_EQ(history.undo()->inputWidth, width);
    EXPECT_FALSE(history.undo()) << "a hundred steps kept";
    EXPECT_EQ(history.redo()->inputWidth, 51);
    history.rebase({.inputWidth = 777});  // a unit change: no step, the redo steps kept
    EXPECT_EQ(history.undo()->inputWidth, 50);
    EXPECT_EQ(history.redo()->inputWidth, 777);
    EXPECT_EQ(history.redo()->inputWidth, 52);
    history.record({.inputWidth = 52, .includeLid = true});
    EXPECT_FALSE(history.redo()) << "a new edit forgets the steps undone";
    EXPECT_EQ(history.undo()->inputWidth, 52);
    EXPECT_FALSE(history.undo()->includeLid);
}

TEST(WindowPlacement, KeepsAVisibleWindowAndBringsALostOneBack) {
    const PixelRect laptop{0, 0, 1366, 728}, right{1366, -200, 1920, 1040};
    const struct {
        PixelRect stored;
        std::vector<PixelRect> areas;
        PixelRect opened;
    } cases[] = {
        {{}, {laptop, right}, {43, 0, 1280, 728}},                       // first start: centred, cut to the height
        {{}, {{0, 0, 2560, 1400}}, {640, 250, 1280, 900}},
        {{1500, 100, 800, 600}, {laptop, right}, {1500, 100, 800, 600}},  // on the second screen
        {{3400, 100, 800, 600}, {laptop}, {566, 100, 800, 600}},           // that screen is gone
        {{1200, 100, 800, 600}, {laptop}, {1200, 100, 800, 600}},          // 166 pixels show: still reachable
        {{1250, 100, 800, 600}, {laptop}, {566, 100, 800, 600}},
        {{100, -50, 800, 600}, {laptop}, {100, 0, 800, 600}},              // title bar above the screen
        {{-900, -900, 4000, 3000}, {laptop, right}, {1366, -200, 1920, 1040}},
        {{5, 5, 640, 480}, {}, {5, 5, 640, 480}},
    };
    for (const auto& c : cases) {
        const PixelRect got = startupWindowRect(c.stored, c.areas);
        EXPECT_EQ(std::tuple(got.x, got.y, got.width, got.height),
                  std::tuple(c.opened.x, c.opened.y, c.opened.width, c.opened.height));
    }
}

}  // namespace
