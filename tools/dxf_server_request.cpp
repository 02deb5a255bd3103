#include "dxf_server_request.h"

#include "output/dxf_writer.h"

#include <nlohmann/json.hpp>

#include <string_view>

using nlohmann::json;

namespace {

// The request cannot be drawn; what carries the reason for the 400 reply.
struct Refusal {
    std::string reason;
};

// Bracket depth outside strings; stops counting as soon as the limit is passed.
bool nestingWithin(const std::string& body, int limit) {
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < body.size(); ++i) {
        const char c = body[i];
        if (inString) {
            if (c == '\\') ++i;
            else if (c == '"') inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) return false;
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
    return true;
}

const json& member(const json& object, const char* key, const std::string& where) {
    const auto it = object.find(key);
    if (it == object.end()) throw Refusal{where + ": missing member \"" + key + "\""};
    return *it;
}

double number(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (!value.is_number()) throw Refusal{where + "." + key + ": expected a number"};
    // The parser refuses numbers beyond a double's range, so every number here is finite.
    return value.get<double>();
}

Point2 point(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (!value.is_object()) throw Refusal{where + "." + key + ": expected an object"};
    const std::string inner = where + "." + key;
    return {number(value, "x", inner), number(value, "y", inner)};
}

const std::string& text(const json& object, const char* key, const std::string& where) {
    const json& value = member(object, key, where);
    if (!value.is_string()) throw Refusal{where + "." + key + ": expected a string"};
    return value.get_ref<const std::string&>();
}

void appendEntity(std::string& dxf, const json& entity, const std::string& where) {
    if (!entity.is_object()) throw Refusal{where + ": expected an object"};
    const std::string& type = text(entity, "type", where);
    const std::string& layer = text(entity, "layer", where);
    // Only the layers of the table: a free name could also smuggle line feeds into the file.
    if (!isDxfLayer(layer)) throw Refusal{where + ".layer: unknown layer"};
    if (type == "line") {
        appendDxfLine(dxf, layer.c_str(), point(entity, "start", where), point(entity, "end", where));
    } else if (type == "arc") {
        const Point2 center = point(entity, "center", where);
        const double radius = number(entity, "radius", where);
        if (radius <= 0) throw Refusal{where + ".radius: must be positive"};
        appendDxfArc(dxf, layer.c_str(), center, radius, number(entity, "startAngle", where),
                     number(entity, "endAngle", where));
    } else {
        throw Refusal{where + ".type: unknown entity type"};
    }
}

std::string buildFromRequest(const std::string& body) {
    if (!nestingWithin(body, kMaxRequestNesting)) throw Refusal{"request: nested too deeply"};
    const json request = json::parse(body, nullptr, false);
    if (request.is_discarded()) throw Refusal{"request: malformed JSON"};
    if (!request.is_object()) throw Refusal{"request: expected an object"};
    const std::string& units = text(request, "units", "request");
    if (units != "mm" && units != "in") throw Refusal{"request.units: expected \"mm\" or \"in\""};
    const json& entities = member(request, "entities", "request");
    if (!entities.is_array()) throw Refusal{"request.entities: expected an array"};

    std::string dxf = dxfPreamble(units == "in");
    dxf.reserve(dxf.size() + entities.size() * 120);
    for (size_t i = 0; i < entities.size(); ++i)
        appendEntity(dxf, entities[i], "entities[" + std::to_string(i) + "]");
    appendDxfEnd(dxf);
    return dxf;
}

}  // namespace

DxfServerReply convertServerRequest(const std::string& body) {
    try {
        return {200, buildFromRequest(body), "application/dxf"};
    } catch (const Refusal& refusal) {
        return {400, refusal.reason + "\n", "text/plain"};
    }
}
