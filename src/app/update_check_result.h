#pragma once
// What the update-check worker posts to the main window; the main window deletes it.
#include <string>

struct UpdateCheckResult {
    bool updateAvailable = false;  // the fetched version is newer than the installed one
    std::wstring latestVersion;    // as fetched
    std::wstring downloadUrl;      // page to open for the download
    std::wstring message;          // the response's message text
};
