#include "app/application_win32.h"

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int showCommand) {
    // A project given on the command line (a double-clicked .boxproj) is opened at start-up.
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::wstring project = arguments && count > 1 ? arguments[1] : L"";
    if (arguments) LocalFree(arguments);
    return runApplication(instance, showCommand, project);
}
