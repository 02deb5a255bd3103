#pragma once
// An off-screen 32-bit top-down DIB with its own memory DC, for reading back painted pixels.
#include <windows.h>

#include <cstdint>
#include <string>

#include "preview/canvas.h"

class DibSurface {
public:
    DibSurface(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;  // top-down
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        if (dc_ != nullptr && bitmap_ != nullptr) previous_ = SelectObject(dc_, bitmap_);
    }
    ~DibSurface() {
        if (previous_ != nullptr) SelectObject(dc_, previous_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (dc_ != nullptr) DeleteDC(dc_);
    }
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    bool valid() const { return bits_ != nullptr && previous_ != nullptr; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }
    ClientRect rect() const { return ClientRect{0, 0, width_, height_}; }
    Rgb pixel(int x, int y) const {
        GdiFlush();
        const uint32_t value = bits_[static_cast<std::size_t>(y) * width_ + x];
        return Rgb{static_cast<uint8_t>(value >> 16), static_cast<uint8_t>(value >> 8), static_cast<uint8_t>(value)};
    }

    // Writes a 32-bit BMP file; false when it cannot.
    bool saveBmp(const std::wstring& path) const {
        GdiFlush();
        const DWORD imageBytes = static_cast<DWORD>(width_) * height_ * 4;
        BITMAPFILEHEADER file{};
        BITMAPINFOHEADER header{};
        file.bfType = 0x4D42;
        file.bfOffBits = sizeof file + sizeof header;
        file.bfSize = file.bfOffBits + imageBytes;
        header.biSize = sizeof header;
        header.biWidth = width_;
        header.biHeight = -height_;
        header.biPlanes = 1;
        header.biBitCount = 32;
        header.biCompression = BI_RGB;
        HANDLE out = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (out == INVALID_HANDLE_VALUE) return false;
        DWORD written = 0;
        bool ok = WriteFile(out, &file, sizeof file, &written, nullptr) && written == sizeof file;
        ok = ok && WriteFile(out, &header, sizeof header, &written, nullptr) && written == sizeof header;
        ok = ok && WriteFile(out, bits_, imageBytes, &written, nullptr) && written == imageBytes;
        CloseHandle(out);
        return ok;
    }

private:
    int width_;
    int height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ previous_ = nullptr;
    uint32_t* bits_ = nullptr;
};
