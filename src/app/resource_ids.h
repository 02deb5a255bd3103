#pragma once
// Resource ids shared by tessaro.rc and the shell.

// The product icon: the first icon group, so Explorer shows it for tessaro.exe.
#define TESSARO_ICON_ID 1
