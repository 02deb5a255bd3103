// What a Windows user expects of the main window: shortcuts, focus, undo, projects dropped on the
// window, the title and the window's place kept.
#include "shell_fixture_win32.h"

#include "settings/app_settings.h"
#include "support/files.h"

#include <gtest/gtest.h>

#include <shlobj.h>

#include <array>
#include <tuple>

namespace {

class Desktop : public FreshSettings {
protected:
    ScratchFolder folder;
};

// A key pressed in the width field with Ctrl (and Shift) held, as the message loop offers it to the shortcuts.
bool press(Shell& shell, WPARAM key, bool control = true, bool shift = false) {
    BYTE keys[256] = {};
    keys[VK_CONTROL] = control ? 0x80 : 0;
    keys[VK_SHIFT] = shift ? 0x80 : 0;
    SetKeyboardState(keys);
    MSG message{shell.control(WidthEditId), WM_KEYDOWN, key, 0, 0, {}};
    const bool taken = shell.app().translateAccelerator(message);
    SetKeyboardState(std::array<BYTE, 256>{}.data());
    return taken;
}

TEST_F(Desktop, ShortcutsFocusAndUndoFollowTheUser) {
    Shell shell(true);
    EXPECT_EQ(GetFocus(), shell.control(WidthEditId));
    shell.type(WidthEditId, L"250");
    MSG enter{shell.control(WidthEditId), WM_KEYDOWN, VK_RETURN, 0, 0, {}};
    IsDialogMessageW(shell.window(), &enter);
    EXPECT_EQ(shell.app().design().inputWidth, 250) << "Enter regenerates at once";
    shell.type(HeightEditId, L"80");  // still waiting for the pause: undo makes it a step of its own first
    ASSERT_TRUE(press(shell, 'Z'));
    EXPECT_EQ(shell.status(), L"Deshecho.");
    EXPECT_EQ(shell.text(WidthEditId), L"250");
    EXPECT_EQ(shell.text(HeightEditId), L"100");
    shell.choose(UnitsComboId, 1);  // a preference, not a step
    press(shell, 'Z');
    EXPECT_EQ(shell.text(WidthEditId), L"7.874");
    EXPECT_EQ(SendMessageW(shell.control(UnitsComboId), CB_GETCURSEL, 0, 0), 1) << "the unit is not undone";
    press(shell, 'Y');
    press(shell, 'Z', true, true);
    EXPECT_EQ(shell.status(), L"Rehecho.");
    EXPECT_NEAR(shell.app().design().inputHeight, 80, 0.001);
    shell.ui.answer = IDYES;
    shell.click(ResetButtonId);
    press(shell, 'Z');
    EXPECT_NEAR(shell.app().design().inputHeight, 80, 0.001) << "a reset is one step";

    press(shell, '3');
    EXPECT_EQ(SendMessageW(shell.control(Preview3dBoxId), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(shell.app().view().show3D);
    press(shell, '0');
    EXPECT_EQ(shell.status(), L"Vista ajustada.");
    for (WPARAM key : {'E', 'S', 'O'}) EXPECT_TRUE(press(shell, key));
    EXPECT_EQ(shell.ui.dialogNames, (std::vector<std::wstring>{L"caja.dxf", L"caja.boxproj", L""}));
    EXPECT_FALSE(press(shell, 'Q'));

    SetFocus(shell.control(DepthEditId));
    SendMessageW(shell.window(), WM_ACTIVATE, WA_INACTIVE, 0);
    SetFocus(nullptr);
    SendMessageW(shell.window(), WM_ACTIVATE, WA_ACTIVE, 0);
    EXPECT_EQ(GetFocus(), shell.control(DepthEditId)) << "focus comes back where it was";
}

// Files dropped from Explorer, as the shell hands them over.
void drop(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const std::wstring& path : paths) list += path + L'\0';
    list += L'\0';
    HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* files = static_cast<DROPFILES*>(GlobalLock(memory));
    files->pFiles = sizeof(DROPFILES);
    files->fWide = TRUE;
    memcpy(files + 1, list.data(), list.size() * sizeof(wchar_t));
    GlobalUnlock(memory);
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);  // the window frees it
}

// A project given on the command line (Explorer's double click) is opened by the release zip's test.
TEST_F(Desktop, ProjectsOpenFromDropsAndNameTheTitle) {
    const std::wstring project = folder.file(L"caja honda.boxproj");
    const std::wstring named = L"caja honda.boxproj - Orvell Tessaro 0.1.0";
    {
        Shell shell;
        shell.type(DepthEditId, L"222");
        shell.ui.choices = {project};
        shell.click(SaveButtonId);
        EXPECT_EQ(windowTextOf(shell.window()), named);
        shell.click(SaveButtonId);
        EXPECT_EQ(shell.ui.dialogNames.back(), project) << "Save proposes the current project";
        shell.ui.answer = IDYES;
        shell.click(ResetButtonId);
        EXPECT_EQ(windowTextOf(shell.window()), L"Orvell Tessaro 0.1.0");

        // The first project among the files opens; what cannot be opened is told and changes nothing.
        writeBytes(folder.file(L"mala.boxproj"), R"({"format": "TessaroProject", "inputDepth": -1})");
        const std::pair<std::vector<std::wstring>, std::wstring> drops[] = {
            {{folder.file(L"notas.txt"), project}, L""},
            {{folder.file(L"notas.txt")}, L"El archivo no parece ser un proyecto de Tessaro."},
            {{folder.file(L"mala.boxproj")},
             L"El proyecto contiene parametros invalidos: La profundidad debe ser mayor a 0 mm."},
        };
        for (const auto& [files, message] : drops) {
            shell.ui.messages.clear();
            drop(shell.window(), files);
            EXPECT_EQ(shell.app().design().inputDepth, 222);
            EXPECT_EQ(windowTextOf(shell.window()), named);
            ASSERT_EQ(shell.ui.messages.size(), message.empty() ? 0u : 1u);
            if (message.empty()) continue;
            EXPECT_EQ(shell.ui.messages[0].text, message);
            EXPECT_EQ(shell.ui.messages[0].caption, L"No se pudo cargar proyecto");
        }
    }
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// Where a stored place lands on today's screens is the placement's own test; here, that it is kept.
TEST_F(Desktop, TheWindowOpensWhereItWasClosedAndStaysOnTheScreen) {
    {
        Shell shell;
        MoveWindow(shell.window(), 100, 80, 900, 640, FALSE);
    }
    {
        Shell shell;
        const RECT kept = windowRect(shell.window());
        EXPECT_EQ(std::tuple(kept.left, kept.top, kept.right, kept.bottom), std::tuple(100, 80, 1000, 720));
        SetWindowPos(shell.window(), nullptr, 0, 0, 50, 50, SWP_NOZORDER);
        RECT preview{};
        GetClientRect(shell.app().previewWindow(), &preview);
        EXPECT_GE(preview.right, 300) << "the smallest window keeps a useful preview";
        ShowWindow(shell.window(), SW_MAXIMIZE);
    }
    AppSettings stored = loadSettings();
    EXPECT_TRUE(stored.windowMaximized);
    stored.windowX = 30000;  // a monitor since unplugged
    saveSettings(stored);
    Shell shell;
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    const RECT shown = windowRect(shell.window());
    EXPECT_GE(shown.left, work.left);
    EXPECT_LE(shown.right, work.right);
}

}  // namespace
