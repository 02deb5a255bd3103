#pragma once
// The modal and external things the shell asks of Windows, behind one seam so tests can record them.
#include <windows.h>

#include <commdlg.h>

#include <string>

class ModalUi {
public:
    virtual ~ModalUi() = default;
    // A message box owned by owner; returns the button pressed (IDOK, IDYES, ...).
    virtual int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) = 0;
    // Opens a document or web address with the shell's "open" verb, normally shown; the result is not looked at.
    virtual void openInShell(HWND owner, const std::wstring& target) = 0;
    // The common save and open dialogs on a filled structure; false on cancel or failure, else the
    // chosen path is in dialog.lpstrFile.
    virtual bool getSaveFileName(OPENFILENAMEW& dialog) = 0;
    virtual bool getOpenFileName(OPENFILENAMEW& dialog) = 0;
    // Runs the modal loop of window (runModalWindowLoop) until it is gone.
    virtual void runModalLoop(HWND window) = 0;
};

// The real thing: MessageBoxW, ShellExecuteW, GetSaveFileNameW, GetOpenFileNameW and a real modal loop.
class SystemModalUi final : public ModalUi {
public:
    int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override;
    void openInShell(HWND owner, const std::wstring& target) override;
    bool getSaveFileName(OPENFILENAMEW& dialog) override;
    bool getOpenFileName(OPENFILENAMEW& dialog) override;
    void runModalLoop(HWND window) override;
};

// Dispatches this thread's messages, window's dialog filter first (Tab, Enter, Escape), while window
// exists. A quit message ends it and is posted again, so the outer loop ends too.
void runModalWindowLoop(HWND window);
