#pragma once
// The modal and external things the shell asks of Windows, behind one seam so tests can record them.
#include <windows.h>

#include <string>

class ModalUi {
public:
    virtual ~ModalUi() = default;
    // A message box owned by owner; returns the button pressed (IDOK, IDYES, ...).
    virtual int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) = 0;
    // Opens a document or web address with the shell's "open" verb, normally shown; the result is not looked at.
    virtual void openInShell(HWND owner, const std::wstring& target) = 0;
};

// The real thing: MessageBoxW and ShellExecuteW.
class SystemModalUi final : public ModalUi {
public:
    int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override;
    void openInShell(HWND owner, const std::wstring& target) override;
};
