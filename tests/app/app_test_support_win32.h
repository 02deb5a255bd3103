#pragma once
// In-process driving of the shell for tests: a recording modal seam, a window harness, bounded pumping.
#include "app/application_win32.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// Records message boxes and shell opens instead of showing them.
class RecordingModalUi final : public ModalUi {
public:
    struct Message {
        std::wstring text;
        std::wstring caption;
        UINT style;
    };
    int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override;
    void openInShell(HWND owner, const std::wstring& target) override;

    std::vector<Message> messages;
    std::vector<std::wstring> opened;
    int answer = IDOK;
};

// One Application with its main window, created hidden unless asked; destroyed and drained at the end.
class AppHarness {
public:
    explicit AppHarness(bool shown = false);
    ~AppHarness();
    AppHarness(const AppHarness&) = delete;
    AppHarness& operator=(const AppHarness&) = delete;

    Application& app() { return *app_; }
    HWND window() const { return app_->mainWindow; }
    // Sends WM_COMMAND as a control would (id and notification code).
    void command(int id, int code, HWND control);
    // Selects an index of a list combo and notifies the main window as the user's choice would.
    void choose(HWND combo, int index);
    // Resizes the main window so that its client area has the given size.
    void setClientSize(int width, int height);
    // Destroys the main window (the shutdown path) and drains the queue.
    void close();

    RecordingModalUi modalUi;

private:
    std::unique_ptr<Application> app_;
};

// The roaming settings folder "Orvell" of this Wine prefix, removed with everything in it.
void removeSettingsFolder();
// Replaces settings.json with the given UTF-8 text (the folder is created on the way).
void writeSettingsFile(const std::string& text);
// settings.json as bytes; empty when missing.
std::string readSettingsFile();
bool settingsFileExists();

// Dispatches this thread's messages for about the given time; a quit message is dropped.
void pumpMessagesFor(unsigned milliseconds);
// Dispatches messages until done() holds or the timeout passes; returns done().
bool pumpUntil(const std::function<bool()>& done, unsigned timeoutMilliseconds);

std::wstring textOf(HWND control);
std::vector<std::wstring> comboItems(HWND combo);
int comboSelection(HWND combo);
// The control's rectangle in its parent's client coordinates.
RECT childRect(HWND control);
