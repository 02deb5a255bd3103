#include "cli_outcome.h"
#include "piece_report.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

CliOutcome run(const std::vector<std::string>& args) { return runCliCapturing(args); }

TEST(RunCli, ExitStatusAndStreams) {
    struct Case {
        std::vector<std::string> args;
        int status;
        std::string outStart;
        std::string err;  // exact; "*" for any non-empty text
    };
    const Case cases[] = {
        {{}, 0,
         "5 pieces, plan 424 x 374 mm: Atras, Lateral izquierdo, Base, Lateral derecho, Frente\n", ""},
        {{"--width-dividers", "2"}, 0, "7 pieces, plan 580 x 374 mm: Atras, Lateral izquierdo, Base, "
                                       "Lateral derecho, Frente, 2 x Divisor ancho\n", ""},
        {{"--pieces", "-"}, 0, "[\n  {\"name\": \"Atras\", \"x\": 112, \"y\": 0, \"width\": 200, \"height\": 100, "
                               "\"labelled\": true, \"innerCut\": false, \"outlinePoints\": 24, \"segments\": 24, "
                               "\"arcs\": 0},\n", ""},
        {{"--help"}, 0, "Usage: tessaro-cli", ""},
        {{"--width", "-5"}, 1, "", "El ancho debe ser mayor a 0 mm.\n"},
        {{"--cnc", "--width-dividers", "1"}, 1, "", "La ranura interna queda menor que el diametro de herramienta.\n"},
        {{"--bogus"}, 2, "", "*"},
        {{"--width", "x", "--pieces", "-"}, 2, "", "*"},
    };
    for (const Case& c : cases) {
        const CliOutcome r = run(c.args);
        const std::string line = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.status, c.status) << line;
        EXPECT_EQ(r.out.substr(0, c.outStart.size()), c.outStart) << line;
        if (c.outStart.empty()) {
            EXPECT_EQ(r.out, "") << line;
        }
        if (c.err == "*")
            EXPECT_NE(r.err.find("Usage: tessaro-cli"), std::string::npos) << line;
        else
            EXPECT_EQ(r.err, c.err) << line;
    }
}

// Reads a file named in UTF-8, as the tool's arguments are.
std::string readAndRemove(const std::string& utf8Path) {
    const std::filesystem::path path(std::u8string(utf8Path.begin(), utf8Path.end()));
    std::ifstream file(path, std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    file.close();
    std::filesystem::remove(path);
    return text;
}

TEST(RunCli, WritesTheJsonFileWhole) {
    const std::string path = std::string(TESSARO_BINARY_DIR) + "/cli_run_test_piezas_\xc3\xb1.json";
    const CliOutcome r = run({"--lid", "--cnc", "--tool-diameter", "3", "--pieces", path});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.out, "");
    const std::string text = readAndRemove(path);
    ASSERT_GE(text.size(), 4u);
    EXPECT_EQ(text.find('\r'), std::string::npos);
    EXPECT_EQ(text.substr(text.size() - 4), "}\n]\n");
    EXPECT_NE(text.find("{\"name\": \"Tapa\", \"x\": 436, \"y\": 112, \"width\": 200, \"height\": 150"),
              std::string::npos);
    EXPECT_NE(text.find("\"outlinePoints\": 48, \"segments\": 68, \"arcs\": 20}"), std::string::npos)
        << "the base's dogbones";

    const CliOutcome unwritable = run({"--pieces", std::string(TESSARO_BINARY_DIR) + "/no such folder/pieces.json"});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_NE(unwritable.err.find("cannot write"), std::string::npos);
}

TEST(PiecesJson, EscapesNamesAndWritesExactNumbers) {
    Piece piece;
    piece.name = L"Divisor \"a\\b\"\n";
    piece.x = 97.0 / 3;
    piece.y = -0.5;
    Piece accented;
    accented.name = L"Atr\u00e1s";
    const std::string json = piecesJson({piece, accented});
    EXPECT_NE(json.find("\"name\": \"Divisor \\\"a\\\\b\\\"\\n\""), std::string::npos) << json;
    EXPECT_NE(json.find("\"x\": 32.333333333333336, \"y\": -0.5"), std::string::npos) << json;
    EXPECT_NE(json.find("\"name\": \"Atr\xc3\xa1s\""), std::string::npos) << "UTF-8 names";
}

}  // namespace
