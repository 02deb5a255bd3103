#include "settings/file_io.h"

#include "settings/file_io_internal.h"

#include <atomic>
#include <chrono>
#include <cstdint>

bool readFileBytes(const std::wstring& path, std::string& bytes) { return readFileBytesUpTo(path, bytes, SIZE_MAX); }

std::wstring parentPath(const std::wstring& path) {
    const size_t separator = path.find_last_of(L"\\/");
    return separator == std::wstring::npos ? std::wstring() : path.substr(0, separator);
}

std::wstring temporaryPathFor(const std::wstring& path) {
    // Clock and counter together keep names apart across processes and within one.
    static std::atomic<unsigned> counter{0};
    const auto ticks = static_cast<unsigned long long>(std::chrono::steady_clock::now().time_since_epoch().count());
    return path + L"." + std::to_wstring(ticks % 1000000000ULL) + L"-" + std::to_wstring(counter++) + L".tmp";
}
