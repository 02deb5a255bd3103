// Runs the built tessaro-cli as its own process, the way scripts use it.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

namespace {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

std::string slurp(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

const std::string kScratch = std::string(TESSARO_BINARY_DIR) + "/cli_process_test";

Outcome run(const std::string& args) {
    const std::string errPath = kScratch + ".err";
    const std::string command = "'" + std::string(TESSARO_CLI) + "' " + args + " 2>'" + errPath + "'";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return {-1, {}, {}};
    std::string out;
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) out.append(buffer, n);
    const int status = pclose(pipe);
    Outcome r{WIFEXITED(status) ? WEXITSTATUS(status) : -1, out, slurp(errPath)};
    std::remove(errPath.c_str());
    return r;
}

TEST(CliProcess, ExitCodes) {
    struct Case {
        const char* args;
        int status;
        const char* errContains;
    };
    const Case cases[] = {
        {"--width 250.5 --internal --lid --cnc --tool-diameter 3 --width-dividers 2 --base-slots", 0, ""},
        {"--thickness 0", 1, "El espesor debe ser mayor a 0 mm."},
        {"--pieces /nonexistent-folder/p.json", 1, "cannot write"},
        {"--fingers-depth 2.5", 2, "is not a whole number"},
    };
    for (const Case& c : cases) {
        const Outcome r = run(c.args);
        EXPECT_EQ(r.status, c.status) << c.args;
        EXPECT_NE(r.err.find(c.errContains), std::string::npos) << c.args << ": " << r.err;
        if (c.status != 0) {
            EXPECT_EQ(r.out, "") << c.args;
        }
    }
}

TEST(CliProcess, PiecesJsonHasOneObjectPerPiece) {
    const std::string path = kScratch + ".json";
    const Outcome toFile = run("--lid --width-dividers 2 --depth-dividers 1 --base-slots --pieces '" + path + "'");
    ASSERT_EQ(toFile.status, 0) << toFile.err;
    EXPECT_EQ(toFile.out, "");
    const std::string file = slurp(path);
    EXPECT_EQ(run("--lid --width-dividers 2 --depth-dividers 1 --base-slots --pieces -").out, file)
        << "standard output and a file get the same bytes";

    // An independent JSON reader checks the shape: names, member types and counts.
    const std::string check =
        "/usr/bin/python3 -c \""
        "import json, sys\n"
        "pieces = json.load(open(sys.argv[1], encoding='utf-8'))\n"
        "keys = ['name', 'x', 'y', 'width', 'height', 'labelled', 'innerCut', 'outlinePoints', 'segments', 'arcs']\n"
        "for p in pieces:\n"
        "    assert list(p) == keys, p\n"
        "    assert all(isinstance(p[k], (int, float)) and not isinstance(p[k], bool) for k in keys[1:5]), p\n"
        "    assert isinstance(p['labelled'], bool) and isinstance(p['innerCut'], bool), p\n"
        "    assert all(type(p[k]) is int for k in keys[7:]), p\n"
        "print('|'.join(p['name'] for p in pieces))\n"
        "\" '" + path + "'";
    FILE* pipe = popen(check.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[1024] = {};
    const size_t n = fread(buffer, 1, sizeof buffer - 1, pipe);
    EXPECT_EQ(pclose(pipe), 0);
    EXPECT_EQ(std::string(buffer, n),
              "Atras|Lateral izquierdo|Base|Lateral derecho|Frente|Ranura base ancho|Ranura base ancho|"
              "Ranura base profundidad|Tapa|Divisor ancho|Divisor ancho|Divisor profundidad\n");
    std::remove(path.c_str());
}

}  // namespace
