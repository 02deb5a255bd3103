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

// The worker's body: checks, then posts WM_UPDATE_CHECK_RESULT with the result to window, which then
// owns it; a result that is not found or cannot be posted (window gone) is deleted here.
void updateCheckThread(HWND window, std::wstring productPage);
