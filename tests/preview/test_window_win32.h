#pragma once
// A plain visible top-level window of a given client size, for Direct3D tests and screenshots.
#include <windows.h>

class TestWindow {
public:
    TestWindow(int clientWidth, int clientHeight) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TessaroPreviewTestWindow";
        windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
        RegisterClassW(&windowClass);  // fails harmlessly when already registered
        RECT frame{0, 0, clientWidth, clientHeight};
        AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
        window_ = CreateWindowW(L"TessaroPreviewTestWindow", L"Preview test", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
        if (window_ != nullptr) {
            ShowWindow(window_, SW_SHOW);
            UpdateWindow(window_);
            pump();
        }
    }
    ~TestWindow() {
        if (window_ != nullptr) DestroyWindow(window_);
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    HWND get() const { return window_; }

    static void pump() {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }

private:
    HWND window_ = nullptr;
};
