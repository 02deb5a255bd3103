#pragma once
// What this test process holds now, for leak checks: GDI objects, windows and private memory.
#include <windows.h>
#include <psapi.h>

#include <cstddef>

// Live GDI objects of this process, stock objects included. GetGuiResources where it counts; Wine
// answers 0 there, so under Wine the handle table is walked instead (its lookup takes a bare index).
inline int gdiObjectCount() {
    const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (counted != 0) return static_cast<int>(counted);
    int live = 0;
    for (ULONG_PTR index = 1; index < 0x10000; ++index) {
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++live;
    }
    return live;
}

// Windows owned by this thread, child windows included; stands in for the USER object count,
// which Wine does not keep either.
inline int threadWindowCount() {
    static constexpr WNDENUMPROC countOne = [](HWND, LPARAM counter) -> BOOL {
        ++*reinterpret_cast<int*>(counter);
        return TRUE;
    };
    static constexpr WNDENUMPROC countWithChildren = [](HWND window, LPARAM counter) -> BOOL {
        countOne(window, counter);
        EnumChildWindows(window, countOne, counter);
        return TRUE;
    };
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), countWithChildren, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Private memory in bytes: the commit charge on Windows, anonymous resident memory under Wine.
inline size_t privateBytes() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
    return counters.PagefileUsage;
}
