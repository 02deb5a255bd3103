#include "support/seams.h"

#include "preview/direct3d_renderer_win32.h"

namespace {
bool direct3DUnavailable = false;
int creations = 0;
}  // namespace

void setDirect3DUnavailable(bool unavailable) { direct3DUnavailable = unavailable; }

int direct3DCreations() { return creations; }

IDirect3D9* createDirect3D9() {
    ++creations;
    return direct3DUnavailable ? nullptr : Direct3DCreate9(D3D_SDK_VERSION);
}
