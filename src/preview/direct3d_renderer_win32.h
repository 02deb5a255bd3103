#pragma once
// The GPU engine of the 3D view: one Direct3D 9 device for the preview window, drawing the scene
// straight into the window and presenting it. Every failure leaves a reason in lastError so the
// caller can fall back to the GDI engine.
#include <windows.h>

#include <d3d9.h>

#include <cstdint>
#include <string>

#include "model/box_parameters.h"
#include "preview/com_ptr_win32.h"
#include "preview/d3d_scene.h"
#include "preview/preview_view_state.h"

class Direct3DRenderer {
public:
    Direct3DRenderer() = default;
    ~Direct3DRenderer();
    Direct3DRenderer(const Direct3DRenderer&) = delete;
    Direct3DRenderer& operator=(const Direct3DRenderer&) = delete;

    // True when a device exists that was created for this window.
    bool hasDeviceFor(HWND window) const;
    // Releases everything, remembers the window and creates the Direct3D 9 object. False, with
    // lastError set, when Direct3D 9 is not available.
    bool attachWindow(HWND window);
    // Creates the device for the remembered window (multisampling when offered; hardware, then
    // software vertex processing, then the reference device). False with lastError set.
    bool createDevice();
    // Resizes the back buffer to the window's client size after a resize. False with lastError set.
    bool resetDevice();
    // Releases the device and the Direct3D object and forgets the window.
    void releaseDevice();
    // Draws and presents one frame of the design; false when it could not (then draw with GDI).
    bool renderFrame(const BoxParameters& parameters, const PreviewViewState& view);

    const std::wstring& lastError() const { return lastError_; }
    int32_t width() const { return width_; }
    int32_t height() const { return height_; }

private:
    void readClientSize();
    void setFixedStates();

    HWND window_ = nullptr;
    ComPtr<IDirect3D9> direct3d_;
    ComPtr<IDirect3DDevice9> device_;
    D3DPRESENT_PARAMETERS presentParameters_{};
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::wstring lastError_;
    SceneLists scene_;  // kept to reuse its memory between frames
};

// The Direct3D 9 object, or null where Direct3D 9 is not available (Direct3DCreate9, kept in a file
// of its own so that a test program can link its own).
IDirect3D9* createDirect3D9();
