// Writes the cut files of several designs and has an independent DXF reader (ezdxf) and an XML
// parser read them back (check_cut_files.py).
#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/svg_writer.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numbers>
#include <string>

namespace fs = std::filesystem;

namespace {

// Signed area (mm²) enclosed by a closed path; an arc adds the area between its chord and itself.
double pathArea(const CutPath& path) {
    double area = 0;
    for (const PathSegment& s : path) {
        area += (s.start.x * s.end.y - s.end.x * s.start.y) / 2;
        if (s.kind != SegmentKind::Arc) continue;
        double sweep = std::atan2(s.end.y - s.center.y, s.end.x - s.center.x) -
                       std::atan2(s.start.y - s.center.y, s.start.x - s.center.x);
        if (s.counterClockwise && sweep <= 0) sweep += 2 * std::numbers::pi;
        if (!s.counterClockwise && sweep >= 0) sweep -= 2 * std::numbers::pi;
        area += std::copysign(s.radius * s.radius / 2 * (std::abs(sweep) - std::sin(std::abs(sweep))), sweep);
    }
    return area;
}

std::string expectations(const PieceSet& pieces, bool inches) {
    std::map<std::string, int> layers;
    std::string list;
    for (const Piece& p : pieces) {
        for (const PathSegment& s : p.path) ++layers[layerForSegment(p, s)];
        if (!list.empty()) list += ",\n";
        list += "{\"name\": \"" + std::string(p.name.begin(), p.name.end()) + "\", \"layer\": \"" +
                layerForSegment(p, PathSegment{}) + "\", \"segments\": " + std::to_string(p.path.size()) +
                ", \"innerCut\": " + (p.innerCut ? "true" : "false") +
                ", \"area\": " + std::to_string(std::abs(pathArea(placedPath(p)))) + "}";
    }
    std::string counts;
    for (const auto& [layer, count] : layers) {
        if (!counts.empty()) counts += ", ";
        counts += "\"" + layer + "\": " + std::to_string(count);
    }
    return std::string("{\"inches\": ") + (inches ? "true" : "false") + ", \"layers\": {" + counts +
           "}, \"pieces\": [\n" + list + "]}\n";
}

void writeFile(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

TEST(CutFilesReadBack, IndependentReaderAcceptsEveryDesign) {
    const fs::path folder = fs::temp_directory_path() / "tessaro-cut-files";
    fs::remove_all(folder);
    fs::create_directories(folder);
    auto designs = sampleDesigns();
    designs.emplace_back("heavy", heavyDesign());
    for (const auto& [name, parameters] : designs) {
        const PieceSet pieces = generatePieces(parameters);
        for (bool inches : {false, true}) {
            const std::string base = name + (inches ? "_in" : "_mm");
            writeFile(folder / (base + ".json"), expectations(pieces, inches));
            writeFile(folder / (base + ".dxf"), buildDxf(pieces, inches));
            writeFile(folder / (base + "_closed.dxf"), buildClosedDxf(pieces, inches));
            if (!inches) writeFile(folder / (base + ".svg"), buildSvg(pieces));
        }
    }
    const std::string command = "/usr/bin/python3 " TESSARO_SOURCE_DIR "/tests/output/check_cut_files.py '" +
                                folder.string() + "' 2>&1";
    std::FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string report;
    char buffer[4096];
    while (size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) report.append(buffer, n);
    EXPECT_EQ(pclose(pipe), 0) << report;
    EXPECT_NE(report.find(" 0 problems"), std::string::npos) << report;
    fs::remove_all(folder);
}

}  // namespace
