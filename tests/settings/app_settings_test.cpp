#include "settings/app_settings.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>

namespace {

// The settings a file text gives after reading and normalizing, as loading does.
AppSettings loaded(const std::string& text) {
    AppSettings settings;
    readSettingsJson(text, settings);
    normalizeSettings(settings);
    return settings;
}

struct FileCase {
    const char* text;
    std::function<void(AppSettings&)> expect;  // applied to the defaults
};

TEST(ReadSettingsJson, KeysGiveNormalizedFields) {
    const FileCase cases[] = {
        {"", [](AppSettings&) {}},
        {"not json at all", [](AppSettings&) {}},
        {R"({"design": {"fingerWidth": 0}})", [](AppSettings& s) { s.fingerWidth = 1; }},
        {R"({"fingerWidth": 25})", [](AppSettings& s) { s.fingerWidth = 10; }},
        {R"({"fingerWidth": 2.9, "fingerDepth": -2.9, "fingerHeight": 7})",
         [](AppSettings& s) { s.fingerWidth = 2, s.fingerDepth = 1, s.fingerHeight = 7; }},
        {R"({"fingerWidth": 1e300, "render3dMode": -1e300})", [](AppSettings& s) { s.fingerWidth = 10; }},
        {R"({"spacingMm": -1, "kerfMm": -1, "clearanceMm": -0.5})",
         [](AppSettings& s) { s.spacingMm = 12, s.kerfMm = 0, s.clearanceMm = 0; }},
        {R"({"spacingMm": 0, "kerfMm": 0.3})", [](AppSettings& s) { s.spacingMm = 0, s.kerfMm = 0.3; }},
        {R"({"widthMm": 0, "heightMm": -1, "depthMm": 1e999, "thicknessMm": 0, "toolDiameterMm": -3})",
         [](AppSettings&) {}},
        {R"({"widthMm": 321.5, "heightMm": 12, "depthMm": 7.25, "thicknessMm": 6, "toolDiameterMm": 6.35})",
         [](AppSettings& s) {
             s.widthMm = 321.5, s.heightMm = 12, s.depthMm = 7.25, s.thicknessMm = 6, s.toolDiameterMm = 6.35;
         }},
        {R"({"render3dMode": 3})", [](AppSettings&) {}},
        {R"({"render3dMode": 2})", [](AppSettings& s) { s.render3dMode = 2; }},
        {R"({"render3dMode": "2"})", [](AppSettings&) {}},
        {R"({"checkUpdatesOnStart": 0})", [](AppSettings& s) { s.checkUpdatesOnStart = false; }},
        {R"({"checkUpdatesOnStart": "yes"})", [](AppSettings&) {}},
        {R"({"preview3d": true, "internalDimensions": 1, "includeLid": true, "cncRouterMode": true})",
         [](AppSettings& s) { s.preview3d = s.internalDimensions = s.includeLid = s.cncRouterMode = true; }},
        {R"({"units": "inch"})", [](AppSettings&) {}},
        {R"({"units": "IN"})", [](AppSettings& s) { s.units = L"IN"; }},
        {R"({"units": "in"})", [](AppSettings& s) { s.units = L"in"; }},
        {R"({"units": 1})", [](AppSettings&) {}},
        {R"({"language": ""})", [](AppSettings&) {}},
        {R"({"language": "pt"})", [](AppSettings& s) { s.language = L"pt"; }},
        {R"({"language": "\u00e9"})", [](AppSettings& s) { s.language = L"u00e9"; }},
        {"{\"language\": \"Espa\xC3\xB1ol\"}", [](AppSettings& s) { s.language = L"Espa\u00F1ol"; }},
        // The flat search takes the first "units" anywhere, here a string value, then the next colon.
        {R"({"language": "units", "x": "in", "units": "mm"})",
         [](AppSettings& s) { s.language = L"units", s.units = L"in"; }},
        // Keys are found by name whatever their nesting or order.
        {R"({"design": {"widthMm": 50}, "widthMm": 60})", [](AppSettings& s) { s.widthMm = 50; }},
        {R"({"serverUrl": "http://x", "useServerDxf": true, "baseSlots": true, "sideSlots": 1})",
         [](AppSettings&) {}},
    };
    for (const FileCase& c : cases) {
        AppSettings expected;
        c.expect(expected);
        EXPECT_EQ(loaded(c.text), expected) << c.text;
    }
}

TEST(ReadSettingsJson, MalformedValuesLeaveFieldsAlone) {
    AppSettings start;
    start.widthMm = 99, start.units = L"in", start.checkUpdatesOnStart = false, start.fingerDepth = 4;
    AppSettings settings = start;
    readSettingsJson(R"({"widthMm": "12", "units": in, "checkUpdatesOnStart": nope, "fingerDepth": x})", settings);
    EXPECT_EQ(settings, start);
}

TEST(NormalizeSettings, RepairsEveryOutOfRangeField) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    AppSettings s;
    s.widthMm = nan, s.heightMm = inf, s.depthMm = -1, s.thicknessMm = 0, s.kerfMm = nan, s.clearanceMm = -inf;
    s.spacingMm = nan, s.toolDiameterMm = 0, s.fingerWidth = -5, s.fingerDepth = 11, s.fingerHeight = 0;
    s.render3dMode = 7, s.units = L"cm", s.language = L"", s.serverUrl = L"http://x", s.useServerDxf = true;
    s.baseSlots = s.sideSlots = true;
    normalizeSettings(s);
    AppSettings expected;
    expected.kerfMm = 0, expected.clearanceMm = 0, expected.fingerWidth = 1, expected.fingerDepth = 10;
    EXPECT_EQ(s, expected);

}

TEST(WriteSettingsJson, ExactLayout) {
    AppSettings s;
    s.language = L"pt", s.units = L"in", s.preview3d = true, s.render3dMode = 2, s.checkUpdatesOnStart = false;
    s.widthMm = 254.5, s.fingerDepth = 4, s.includeLid = true, s.cncRouterMode = true;
    s.serverUrl = L"a\"b\\c";
    s.useServerDxf = s.baseSlots = s.sideSlots = true;  // never written as true
    EXPECT_EQ(writeSettingsJson(s),
              "{\n"
              "  \"version\": 1,\n"
              "  \"app\": \"orvell-tessaro\",\n"
              "  \"language\": \"pt\",\n"
              "  \"units\": \"in\",\n"
              "  \"checkUpdatesOnStart\": false,\n"
              "  \"preview3d\": true,\n"
              "  \"render3dMode\": 2,\n"
              "  \"serverUrl\": \"a\\\"b\\\\c\",\n"
              "  \"useServerDxf\": false,\n"
              "  \"design\": {\n"
              "    \"widthMm\": 254.500000,\n"
              "    \"heightMm\": 100.000000,\n"
              "    \"depthMm\": 150.000000,\n"
              "    \"thicknessMm\": 3.000000,\n"
              "    \"kerfMm\": 0.150000,\n"
              "    \"clearanceMm\": 0.100000,\n"
              "    \"spacingMm\": 12.000000,\n"
              "    \"fingerWidth\": 3,\n"
              "    \"fingerDepth\": 4,\n"
              "    \"fingerHeight\": 1,\n"
              "    \"toolDiameterMm\": 3.175000,\n"
              "    \"internalDimensions\": false,\n"
              "    \"includeLid\": true,\n"
              "    \"cncRouterMode\": true,\n"
              "    \"baseSlots\": false,\n"
              "    \"sideSlots\": false\n"
              "  }\n"
              "}\n");
}

TEST(WriteSettingsJson, ReadsBackToTheSameSettings) {
    AppSettings s;
    s.language = L"Espa\u00F1ol \"quoted\"\t\\", s.units = L"IN", s.render3dMode = 1, s.preview3d = true;
    s.widthMm = 123.456789, s.heightMm = 0.5, s.depthMm = 1000, s.thicknessMm = 12.7, s.kerfMm = 0;
    s.clearanceMm = 0.25, s.spacingMm = 0, s.fingerWidth = 10, s.fingerDepth = 1, s.fingerHeight = 5;
    s.toolDiameterMm = 6.35, s.internalDimensions = true, s.checkUpdatesOnStart = false;
    EXPECT_EQ(loaded(writeSettingsJson(s)), s);
    EXPECT_EQ(loaded(writeSettingsJson(AppSettings{})), AppSettings{});
}

TEST(ReadSettingsJson, HostileTextNeverCrashes) {
    const std::string hostile[] = {
        std::string(1 << 20, '"'),
        std::string(1 << 20, '\\'),
        std::string(1 << 20, '{'),
        "\"units\"" + std::string(1 << 20, ':'),
        "{\"units\": \"" + std::string(1 << 16, '\\'),
        "{\"language\": \"\xFF\xFE\xC3\"}",
        "{\"widthMm\": " + std::string(5000, '9') + "}",
        "{\"widthMm\": 0." + std::string(5000, '1') + "e" + std::string(400, '9') + "}",
        std::string("{\"widthMm\"\0: 5}", 15),
    };
    for (const std::string& text : hostile) {
        const AppSettings s = loaded(text);
        EXPECT_TRUE(std::isfinite(s.widthMm) && s.widthMm > 0);
        EXPECT_TRUE(s.units == L"mm" || s.units == L"in" || s.units == L"IN");
    }
}

}  // namespace
