// Language files are parsed on the interface thread at start-up and on every language change.
#include "settings/file_io.h"
#include "settings/language_manager.h"
#include "settings/text_encoding.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

constexpr size_t kFileBytes = 1048576;

// A language file of about 1 MiB: many members with escapes, some nested, nearly at the size limit.
std::string largeLanguageFile() {
    std::string text = "{\n  \"language.name\": \"Portugu\xC3\xAAs\",\n  \"group\": {\n";
    for (int i = 0; text.size() < kFileBytes - 200; ++i)
        text += "    \"tooltip.item" + std::to_string(i) +
                "\": \"Largura de corte estimada do laser \\u00e9 \\\"fixa\\\"\\tvalor %d%%\",\n";
    text += "    \"last\": \"end\"\n  }\n}\n";
    return text;
}

void parseLargeLanguageText(benchmark::State& state) {
    const std::wstring text = utf8ToWide(largeLanguageFile());
    LanguageTable table;
    for (auto _ : state) {
        parseLanguageText(text, table);
        benchmark::DoNotOptimize(table);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
    state.counters["entries"] = static_cast<double>(table.size());
}
BENCHMARK(parseLargeLanguageText)->Unit(benchmark::kMillisecond);

void loadLargeLanguageFile(benchmark::State& state) {
    const std::filesystem::path path = std::filesystem::temp_directory_path() / "tessaro-bench-language.json";
    const std::string bytes = largeLanguageFile();
    writeFileReplacing(path.wstring(), bytes);
    LanguageTable table;
    for (auto _ : state) {
        loadLanguageFile(path.wstring(), table);
        benchmark::DoNotOptimize(table);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes.size()));
}
BENCHMARK(loadLargeLanguageFile)->Unit(benchmark::kMillisecond);

// Hostile shapes of the same size must stay linear too.
void parseHostileLanguageText(benchmark::State& state) {
    std::wstring text;
    switch (state.range(0)) {
    case 0: text.assign(kFileBytes, L'"'); break;
    case 1: text.assign(kFileBytes, L'\\'); break;
    default:
        while (text.size() < kFileBytes) text += L"{\"k\": ";
        text += L"\"v\"";
        break;
    }
    LanguageTable table;
    for (auto _ : state) {
        parseLanguageText(text, table);
        benchmark::DoNotOptimize(table);
    }
}
BENCHMARK(parseHostileLanguageText)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace
