#pragma once
// The update-check worker: fetches the product page's version reply off the user-interface thread.
#include <windows.h>

#include "app/update_check_result.h"

#include <string>

// Time-out of the version request's connect, send and receive, in milliseconds.
inline constexpr DWORD UPDATE_CHECK_TIMEOUT_MS = 3500;

// Fetches productPage + "version.php" (body cut after at most 9216 bytes) and reads it into result;
// false when there is no reply or it names no version. Never throws, never shows anything.
bool checkForUpdate(UpdateCheckResult& result, const std::wstring& productPage);

// The worker's body: owns result, fills it (emptied when the check fails) and posts it back with
// WM_UPDATE_CHECK_RESULT to window, which then owns it; deleted here when it cannot be posted (window gone).
void updateCheckThread(HWND window, std::wstring productPage, UpdateCheckResult* result);
