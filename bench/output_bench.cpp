// Output format costs for a default and a heavy design, and the reference server's loopback rate.
#include "dxf_server.h"

#include "model/piece_set.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "support/loopback_client.h"
#include "support/sample_designs.h"

#include <benchmark/benchmark.h>
#include <unistd.h>

namespace {

PieceSet design(int64_t heavy) { return generatePieces(heavy ? heavyDesign() : BoxParameters{}); }

void buildDxfBench(benchmark::State& state) {
    const PieceSet pieces = design(state.range(0));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string dxf = buildDxf(pieces, false);
        bytes = dxf.size();
        benchmark::DoNotOptimize(dxf.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(buildDxfBench)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void buildServerRequestJsonBench(benchmark::State& state) {
    const PieceSet pieces = design(state.range(0));
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string json = buildServerRequestJson(pieces);
        bytes = json.size();
        benchmark::DoNotOptimize(json.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(buildServerRequestJsonBench)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// One keep-alive client posting the default or the heavy design's request to the server on loopback.
void dxfServerRequestsBench(benchmark::State& state) {
    DxfServer* server = startDxfServer("127.0.0.1", 0);
    if (!server) {
        state.SkipWithError("cannot listen on loopback");
        return;
    }
    const std::string body = buildServerRequestJson(design(state.range(0)));
    const std::string request = "POST / HTTP/1.1\r\nContent-Type: application/json\r\nContent-Length: " +
                                std::to_string(body.size()) + "\r\n\r\n" + body;
    const int client = connectToLoopback(dxfServerPort(*server));
    for (auto _ : state) {
        if (!replyTo(client, request).starts_with("HTTP/1.1 200 ")) {
            state.SkipWithError("request failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    close(client);
    stopDxfServer(server);
}
BENCHMARK(dxfServerRequestsBench)->Arg(0)->Arg(1)->UseRealTime()->MinTime(1.0)->Unit(benchmark::kMicrosecond);

}  // namespace
