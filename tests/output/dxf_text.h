#pragma once
// Reads DXF text back into group-code pairs so tests can compare two files value by value.
#include <cmath>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using DxfPairs = std::vector<std::pair<std::string, std::string>>;

inline DxfPairs dxfPairs(const std::string& text) {
    DxfPairs pairs;
    size_t at = 0;
    while (at < text.size()) {
        const size_t codeEnd = text.find('\n', at);
        const size_t valueEnd = codeEnd == std::string::npos ? codeEnd : text.find('\n', codeEnd + 1);
        if (valueEnd == std::string::npos) break;
        pairs.emplace_back(text.substr(at, codeEnd - at), text.substr(codeEnd + 1, valueEnd - codeEnd - 1));
        at = valueEnd + 1;
    }
    return pairs;
}

// Group codes 10 to 59 hold numbers; the rest are compared as text.
inline bool isNumberCode(const std::string& code) {
    const int c = std::atoi(code.c_str());
    return c >= 10 && c < 60;
}

// Empty when both texts have the same pairs, numbers agreeing within tolerance; else the first
// difference, described.
inline std::string dxfDifference(const std::string& a, const std::string& b, double tolerance) {
    const DxfPairs pa = dxfPairs(a), pb = dxfPairs(b);
    if (pa.size() != pb.size()) return "pair counts " + std::to_string(pa.size()) + " and " + std::to_string(pb.size());
    for (size_t i = 0; i < pa.size(); ++i) {
        const bool same = pa[i].first == pb[i].first &&
                          (isNumberCode(pa[i].first)
                               ? std::abs(std::atof(pa[i].second.c_str()) - std::atof(pb[i].second.c_str())) <= tolerance
                               : pa[i].second == pb[i].second);
        if (!same)
            return "pair " + std::to_string(i) + ": " + pa[i].first + "/" + pa[i].second + " against " + pb[i].first +
                   "/" + pb[i].second;
    }
    return {};
}
