#include "preview/direct3d_renderer_win32.h"

IDirect3D9* createDirect3D9() { return Direct3DCreate9(D3D_SDK_VERSION); }
