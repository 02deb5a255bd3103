#pragma once
// The shell in process for tests: one main window driven by the messages its controls send, with
// message boxes, file dialogs and shell opens recorded instead of shown.
#include "app/application_win32.h"
#include "app/control_ids.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class RecordingModalUi final : public ModalUi {
public:
    struct Message {
        std::wstring text, caption;
        UINT style;
    };
    int showMessage(HWND owner, const std::wstring& text, const std::wstring& caption, UINT style) override;
    void openInShell(HWND owner, const std::wstring& target) override;
    bool getSaveFileName(OPENFILENAMEW& dialog) override;
    bool getOpenFileName(OPENFILENAMEW& dialog) override;
    // Runs beforeModalLoop (which posts what the user does), then the real loop; without it the
    // window is closed at once.
    void runModalLoop(HWND window) override;

    std::vector<Message> messages;
    int answer = IDOK;                           // the button every message box returns
    std::vector<std::wstring> opened;            // shell opens
    std::vector<std::wstring> dialogNames;       // the name each file dialog was opened with
    std::vector<DWORD> dialogTypes;              // and the file type (1-based) it offered first
    std::deque<std::optional<std::wstring>> choices;  // each dialog's answer in turn: a path, or cancel
    std::deque<DWORD> typeChoices;               // the file types chosen in turn; none: the one offered
    std::function<void(HWND)> beforeModalLoop;
};

// A product page where nothing listens.
inline constexpr const wchar_t* kClosedPage = L"http://127.0.0.1:9/";

// One Application with its main window (hidden unless asked; shown at 1280 x 900), destroyed and
// drained when it goes out of scope. Its product page, and so its update check, is productPage.
class Shell {
public:
    explicit Shell(bool shown = false, std::wstring productPage = kClosedPage);
    ~Shell();
    Shell(const Shell&) = delete;
    Shell& operator=(const Shell&) = delete;

    Application& app() { return *app_; }
    HWND window() const { return app_->mainWindow(); }
    HWND control(int id) const { return GetDlgItem(window(), id); }
    std::wstring text(int id) const;
    std::wstring status() const;
    // What the user does; each control notifies the main window as it would.
    void type(int id, const std::wstring& text);
    void click(int id);  // a check box changes state first
    void choose(int id, int index);
    // Destroys the main window (the shutdown path) and drains the queue.
    void close();

    RecordingModalUi ui;

private:
    std::unique_ptr<Application> app_;
};

std::wstring windowTextOf(HWND window);

// The roaming settings folder of this Wine prefix, removed with everything in it; settings.json.
void removeSettingsFolder();
std::string readSettingsFile();
void writeSettingsFile(const std::string& text);

// Dispatches this thread's messages until done() holds or the time passes; returns done().
bool pumpUntil(const std::function<bool()>& done, unsigned milliseconds);
inline void pumpMessagesFor(unsigned milliseconds) { pumpUntil([] { return false; }, milliseconds); }

// Pixels 0x00RRGGBB, row by row, of a window's client area from its own device context, or of a
// rectangle of the screen, where a presented Direct3D frame shows too (waiting up to two seconds for
// its first pixel to turn from black).
std::vector<uint32_t> clientPixels(HWND window);
std::vector<uint32_t> screenPixels(const RECT& area);

// A test that starts and ends with no settings stored.
class FreshSettings : public testing::Test {
protected:
    void SetUp() override { removeSettingsFolder(); }
    void TearDown() override { removeSettingsFolder(); }
};
