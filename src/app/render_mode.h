#pragma once
// The 3D engine choice of the preview; the numbers are the stored "render3dMode" values.
#include <cstdint>

enum class RenderMode : int32_t { Automatic = 0, Gdi = 1, Direct3D9 = 2 };
