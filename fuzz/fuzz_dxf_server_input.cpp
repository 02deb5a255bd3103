// Any bytes as the body of a request to the reference DXF server. It answers 200 with a whole DXF text
// of finite numbers, or 400 with a one-line reason, never throws and never runs away on nesting. Which
// of the two is decided again here by a reading of the request apart from the server's: the five layers
// of the DXF file and positive radii only, so a seed that breaks one rule must be refused on replay.
#include "dxf_server_request.h"
#include "fuzz_check.h"

#include <nlohmann/json.hpp>

#include <set>

using nlohmann::json;

namespace {

// The layers the README names for the DXF file.
const std::set<std::string> kLayers = {"CUT_OUTER", "CUT_INNER", "DOGBONES", "DIVIDERS", "REFERENCE"};

bool isNumber(const json& object, const char* key) { return object.contains(key) && object[key].is_number(); }

bool isPoint(const json& object, const char* key) {
    return object.contains(key) && object[key].is_object() && isNumber(object[key], "x") && isNumber(object[key], "y");
}

bool drawable(const json& entity) {
    if (!entity.is_object() || !entity.contains("layer") || !entity.contains("type")) return false;
    if (!entity["layer"].is_string() || !kLayers.contains(entity["layer"].get<std::string>())) return false;
    if (entity["type"] == "line") return isPoint(entity, "start") && isPoint(entity, "end");
    if (entity["type"] != "arc") return false;
    if (!isPoint(entity, "center") || !isNumber(entity, "startAngle") || !isNumber(entity, "endAngle")) return false;
    return isNumber(entity, "radius") && entity["radius"].get<double>() > 0;
}

// Whether a request of these bytes can be drawn: JSON nested at most kMaxRequestNesting deep, with
// "units" "mm" or "in" and an array of drawable "entities".
bool drawable(const std::string& body) {
    int depth = 0;
    const auto deepest = [&](int level, json::parse_event_t event, json&) {
        if (event == json::parse_event_t::object_start || event == json::parse_event_t::array_start)
            depth = std::max(depth, level + 1);
        return true;
    };
    const json request = json::parse(body, deepest, false);
    if (request.is_discarded() || depth > kMaxRequestNesting || !request.is_object()) return false;
    if (!request.contains("units") || (request["units"] != "mm" && request["units"] != "in")) return false;
    if (!request.contains("entities") || !request["entities"].is_array()) return false;
    const json& entities = request["entities"];
    return std::all_of(entities.begin(), entities.end(), [](const json& entity) { return drawable(entity); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body = fuzzText(data, size);
    const DxfServerReply reply = convertServerRequest(body);
    FUZZ_CHECK((reply.status == 200) == drawable(body));
    FUZZ_CHECK(!reply.body.empty());
    FUZZ_CHECK(reply.body.back() == '\n');
    if (reply.status == 200) {
        FUZZ_CHECK(reply.contentType == "application/dxf");
        FUZZ_CHECK(reply.body.starts_with("0\nSECTION\n2\nHEADER\n"));
        FUZZ_CHECK(reply.body.ends_with("0\nENDSEC\n0\nEOF\n"));
        FUZZ_CHECK(reply.body.find("nan") == std::string::npos);
        FUZZ_CHECK(reply.body.find("inf") == std::string::npos);
        FUZZ_CHECK(reply.body.find('\r') == std::string::npos);
    } else {
        FUZZ_CHECK(reply.status == 400);
        FUZZ_CHECK(reply.contentType == "text/plain");
        FUZZ_CHECK(reply.body.find('\n') == reply.body.size() - 1);
    }
    return 0;
}
