// Output format costs for a default and a heavy design, and the reference server's loopback rate.
#include "dxf_server.h"

#include "model/piece_set.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "support/sample_designs.h"

#include <benchmark/benchmark.h>
#include <httplib.h>

#include <thread>

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

// One keep-alive client posting the default design's request to the server on loopback.
void dxfServerRequestsBench(benchmark::State& state) {
    httplib::Server server;
    configureDxfServer(server);
    const int port = server.bind_to_any_port("127.0.0.1");
    if (port < 0) {
        state.SkipWithError("cannot listen on loopback");
        return;
    }
    std::thread thread([&] { server.listen_after_bind(); });
    while (!server.is_running()) std::this_thread::yield();
    const std::string body = buildServerRequestJson(design(0));
    httplib::Client client("127.0.0.1", port);
    client.set_keep_alive(true);
    client.set_tcp_nodelay(true);
    for (auto _ : state) {
        const auto reply = client.Post("/", body, "application/json");
        if (!reply || reply->status != 200) {
            state.SkipWithError("request failed");
            break;
        }
    }
    state.SetItemsProcessed(state.iterations());
    server.stop();
    thread.join();
}
BENCHMARK(dxfServerRequestsBench)->UseRealTime()->MinTime(1.0)->Unit(benchmark::kMicrosecond);

}  // namespace
