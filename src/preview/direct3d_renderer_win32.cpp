#include "preview/direct3d_renderer_win32.h"

#include <algorithm>
#include <cstring>

#include "preview/d3d_transforms.h"

namespace {

D3DMATRIX toD3dMatrix(const Matrix4& m) {
    D3DMATRIX result;
    static_assert(sizeof result == sizeof m);
    std::memcpy(&result, m.data(), sizeof result);
    return result;
}

}  // namespace

Direct3DRenderer::~Direct3DRenderer() { releaseDevice(); }

bool Direct3DRenderer::hasDeviceFor(HWND window) const { return device_ && window_ == window; }

bool Direct3DRenderer::attachWindow(HWND window) {
    releaseDevice();
    window_ = window;
    direct3d_.attach(createDirect3D9());
    if (!direct3d_) {
        lastError_ = L"Direct3DCreate9 fallo. Direct3D 9 no esta disponible.";
        return false;
    }
    return true;
}

void Direct3DRenderer::readClientSize() {
    RECT client{};
    if (window_ == nullptr || !GetClientRect(window_, &client)) client = RECT{};
    width_ = std::max<int32_t>(client.right - client.left, 1);
    height_ = std::max<int32_t>(client.bottom - client.top, 1);
}

void Direct3DRenderer::setFixedStates() {
    device_->SetRenderState(D3DRS_LIGHTING, FALSE);
    device_->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device_->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE);
    device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device_->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, TRUE);
    device_->SetRenderState(D3DRS_DITHERENABLE, TRUE);
    device_->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device_->SetFVF(D3DFVF_XYZ | D3DFVF_DIFFUSE);
}

bool Direct3DRenderer::createDevice() {
    if (!direct3d_) return false;
    readClientSize();
    presentParameters_ = D3DPRESENT_PARAMETERS{};
    presentParameters_.BackBufferWidth = static_cast<UINT>(width_);
    presentParameters_.BackBufferHeight = static_cast<UINT>(height_);
    presentParameters_.BackBufferFormat = D3DFMT_UNKNOWN;
    presentParameters_.BackBufferCount = 0;
    presentParameters_.MultiSampleType = D3DMULTISAMPLE_NONE;
    presentParameters_.MultiSampleQuality = 0;
    presentParameters_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    presentParameters_.hDeviceWindow = nullptr;
    presentParameters_.Windowed = TRUE;
    presentParameters_.EnableAutoDepthStencil = TRUE;
    presentParameters_.AutoDepthStencilFormat = D3DFMT_D16;
    presentParameters_.Flags = 0;
    presentParameters_.FullScreen_RefreshRateInHz = 0;
    presentParameters_.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;

    D3DDISPLAYMODE mode{};
    if (SUCCEEDED(direct3d_->GetAdapterDisplayMode(D3DADAPTER_DEFAULT, &mode))) {
        for (D3DMULTISAMPLE_TYPE samples : {D3DMULTISAMPLE_4_SAMPLES, D3DMULTISAMPLE_2_SAMPLES}) {
            if (SUCCEEDED(direct3d_->CheckDeviceMultiSampleType(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, mode.Format, TRUE,
                                                                samples, nullptr))) {
                presentParameters_.MultiSampleType = samples;
                break;
            }
        }
    }

    const struct {
        D3DDEVTYPE type;
        DWORD vertexProcessing;
    } attempts[] = {{D3DDEVTYPE_HAL, D3DCREATE_HARDWARE_VERTEXPROCESSING},
                    {D3DDEVTYPE_HAL, D3DCREATE_SOFTWARE_VERTEXPROCESSING},
                    {D3DDEVTYPE_REF, D3DCREATE_SOFTWARE_VERTEXPROCESSING}};
    for (const auto& attempt : attempts) {
        D3DPRESENT_PARAMETERS parameters = presentParameters_;
        if (SUCCEEDED(direct3d_->CreateDevice(D3DADAPTER_DEFAULT, attempt.type, window_, attempt.vertexProcessing,
                                              &parameters, device_.receive())) &&
            device_) {
            break;
        }
        device_.reset();
    }
    if (!device_) {
        lastError_ = L"No se pudo crear el dispositivo Direct3D 9. Se debe usar GDI compatible.";
        return false;
    }
    setFixedStates();
    lastError_.clear();
    return true;
}

bool Direct3DRenderer::resetDevice() {
    if (!device_) return false;
    readClientSize();
    presentParameters_.BackBufferWidth = static_cast<UINT>(width_);
    presentParameters_.BackBufferHeight = static_cast<UINT>(height_);
    D3DPRESENT_PARAMETERS parameters = presentParameters_;
    if (FAILED(device_->Reset(&parameters))) {
        lastError_ = L"No se pudo reiniciar Direct3D 9 despues de cambiar tamano.";
        return false;
    }
    setFixedStates();
    return true;
}

void Direct3DRenderer::releaseDevice() {
    device_.reset();
    direct3d_.reset();
    window_ = nullptr;
    width_ = 0;
    height_ = 0;
}

bool Direct3DRenderer::renderFrame(const BoxParameters& parameters, const PreviewViewState& state) {
    if (window_ == nullptr || !direct3d_) return false;
    if (device_) {
        const HRESULT level = device_->TestCooperativeLevel();
        if (level == D3DERR_DEVICELOST) return false;
        if (level == D3DERR_DEVICENOTRESET) {
            if (!resetDevice()) return false;
        } else if (FAILED(level)) {
            return false;
        }
    } else if (!createDevice()) {
        return false;
    }

    const std::optional<BoxModel3d> model = buildBoxModel(parameters);
    if (!model) return false;
    readClientSize();

    const SceneTransforms transforms = sceneTransforms(sceneExtent(*model), state, width_, height_);
    const D3DMATRIX world = toD3dMatrix(transforms.world);
    const D3DMATRIX view = toD3dMatrix(transforms.view);
    const D3DMATRIX projection = toD3dMatrix(transforms.projection);
    device_->SetTransform(D3DTS_WORLD, &world);
    device_->SetTransform(D3DTS_VIEW, &view);
    device_->SetTransform(D3DTS_PROJECTION, &projection);

    device_->Clear(0, nullptr, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, D3DCOLOR_XRGB(kPreviewBackground.r, kPreviewBackground.g, kPreviewBackground.b), 1.0f, 0);
    if (FAILED(device_->BeginScene())) return false;
    buildScene(*model, scene_);
    if (!scene_.triangles.empty()) {
        device_->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(scene_.triangles.size() / 3),
                                 scene_.triangles.data(), sizeof(SceneVertex));
    }
    if (!scene_.lines.empty()) {
        device_->DrawPrimitiveUP(D3DPT_LINELIST, static_cast<UINT>(scene_.lines.size() / 2), scene_.lines.data(),
                                 sizeof(SceneVertex));
    }
    device_->EndScene();

    if (FAILED(device_->Present(nullptr, nullptr, nullptr, nullptr))) {
        lastError_ = L"Direct3D 9 no pudo presentar la escena.";
        return false;
    }
    lastError_.clear();
    return true;
}
