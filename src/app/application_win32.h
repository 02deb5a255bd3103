#pragma once
// The one object of the shell: windows, fonts, panel controls, texts and the last good design.
#include <windows.h>
#include <shellapi.h>

#include "app/design_history.h"
#include "app/modal_ui_win32.h"
#include "app/panel_layout.h"
#include "app/product_info.h"
#include "model/box_parameters.h"
#include "model/design_options.h"
#include "model/piece_set.h"
#include "model/sheet_layout.h"
#include "output/cut_files.h"
#include "preview/direct3d_renderer_win32.h"
#include "preview/plan_preview.h"
#include "preview/gdi_objects_win32.h"
#include "preview/preview_view_state.h"
#include "settings/app_settings.h"
#include "settings/language_manager.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// Timers of the main window; each is killed by its own handler, so it fires once per start.
inline constexpr UINT_PTR REGENERATE_TIMER = 9001;    // 350 ms after the last edit
inline constexpr UINT_PTR UPDATE_CHECK_TIMER = 9002;  // 1200 ms after start-up
inline constexpr UINT REGENERATE_DELAY_MS = 350;
inline constexpr UINT UPDATE_CHECK_DELAY_MS = 1200;

// Posted by the update-check worker: wParam nonzero when newer, lParam the UpdateCheckResult* it was
// given, handed back; any other pointer is not ours and is ignored.
inline constexpr UINT WM_UPDATE_CHECK_RESULT = WM_APP + 42;
struct UpdateCheckResult;

inline constexpr const wchar_t* MAIN_WINDOW_CLASS = L"TessaroMainWindow";
inline constexpr const wchar_t* PREVIEW_WINDOW_CLASS = L"TessaroPreview";

// The panel's controls that are read or changed after creation.
struct PanelControls {
    HWND updateNotice = nullptr;
    HWND languageCombo = nullptr;
    HWND unitsCombo = nullptr;
    HWND checkUpdatesBox = nullptr;
    HWND preview3dBox = nullptr;
    HWND renderEngineCombo = nullptr;
    HWND aboutButton = nullptr;
    HWND resetButton = nullptr;
    HWND serverAddressEdit = nullptr;
    HWND websiteButton = nullptr;
    HWND exportButton = nullptr;
    HWND saveButton = nullptr;
    HWND loadButton = nullptr;
    HWND updateButton = nullptr;
    HWND fitViewButton = nullptr;
    HWND sheetResult = nullptr;  // "2 sheets, 71% used"
    // Each design option's control and label (null where it has none), in the options' order.
    std::vector<HWND> options;
    std::vector<HWND> optionLabels;
};

// The shell's fonts, made for the main window's DPI and deleted with the application.
struct ShellFonts {
    OwnedFont normal;
    OwnedFont bold;
    OwnedFont title;
    OwnedFont button;
};

// A panel control, its place in client pixels at 96 DPI when the panel is not scrolled, and its font.
struct PanelPlacement {
    HWND control = nullptr;
    PixelRect rect;
    OwnedFont ShellFonts::*font = nullptr;
};

// A control whose text, or tooltip, is the text of a key in the current language; a tooltip names
// the control's shortcut after it.
struct TextBinding {
    HWND control = nullptr;
    std::wstring key;
    std::wstring shortcut;
};

class Application {
public:
    // Built-in language tables, "es" requested, default design; no window yet. The update check
    // asks productPage (an address ending in a slash) for "version.php".
    Application(HINSTANCE instance, ModalUi& modalUi, std::wstring productPage = productWebPage);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The windows' messages from their non-client creation on: the main window, the preview and About.
    LRESULT handleMainMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handlePreviewMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleAboutMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HINSTANCE instance() const { return instance_; }
    HWND mainWindow() const { return mainWindow_; }
    HWND previewWindow() const { return previewWindow_; }
    HWND statusLine() const { return statusLine_; }
    // The last successful regeneration and its design, outer dimensions derived.
    const PieceSet& pieces() const { return pieces_; }
    const BoxParameters& design() const { return design_; }
    const PreviewViewState& view() const { return view_; }
    const Direct3DRenderer& renderer() const { return renderer_; }
    // An update check was started and its result has not come back yet.
    bool updateCheckPending() const { return pendingUpdateResult_ != nullptr; }
    // The text of a dotted key in the current language.
    std::wstring text(const wchar_t* key) const;
    // A keyboard shortcut of the main window turned into its command; false when message is none.
    bool translateAccelerator(MSG& message);
    // Loads a project file into the panel as the load command does (a failure is told in the project
    // error box and changes nothing); the title then names it.
    void openProject(const std::wstring& path);

private:
    // Turns change tracking off for its scope: the program filling the panel is no edit.
    class TrackingPause {
    public:
        explicit TrackingPause(Application& app) : app_(app), saved_(app.changeTrackingEnabled_) {
            app.changeTrackingEnabled_ = false;
        }
        ~TrackingPause() { app_.changeTrackingEnabled_ = saved_; }
        TrackingPause(const TrackingPause&) = delete;
        TrackingPause& operator=(const TrackingPause&) = delete;

    private:
        Application& app_;
        bool saved_;
    };

    // Whether a regeneration is an undo step or shows the current design again (another unit, an undo).
    enum class HistoryStep { Record, Rebase };

public:
    // The notification codes that reach a handler; kAnyNotification matches every code.
    using Notifications = std::array<int, 3>;
    static constexpr int kAnyNotification = -1;
    static constexpr Notifications kAnyNotifications{kAnyNotification, kAnyNotification, kAnyNotification};
    // A panel control's row: its place, texts, tooltip and handler (control_panel_win32.cpp).
    struct PanelRow;

private:
    // Which handler a control's or command's notification reaches.
    struct CommandRoute {
        int id;
        Notifications notifications;
        void (Application::*handler)();
    };
    // The commands that have no panel control; the panel's rows bring their own.
    static const CommandRoute kCommandRoutes[];

    // main_window_win32.cpp: messages, layout and scrolling of the main window.
    void onCreate();
    void onDestroy();
    void onCommand(WPARAM wParam);
    LRESULT onTimer(WPARAM wParam, LPARAM lParam);
    LRESULT onNotify(WPARAM wParam, LPARAM lParam);
    void onVerticalScroll(WPARAM wParam);
    LRESULT onMouseWheel(WPARAM wParam, LPARAM lParam);
    // Remembers the focused control when the window is left and gives it back (the width field first).
    void onActivate(WPARAM wParam);
    // The first dropped .boxproj is opened; anything else is refused in the project error box.
    void onDropFiles(HDROP drop);
    // Keeps the panel and a useful preview: the window's smallest track size.
    void onGetMinMaxInfo(MINMAXINFO& limits);
    // An update worker's post: taken only when it carries the record that worker was given.
    void onUpdateCheckResult(WPARAM wParam, LPARAM lParam);
    // Layout for the client size; the Direct3D back buffer follows the preview's size.
    void onSize();
    // The window moved to a screen of another DPI: fonts and layout for it, in the suggested rectangle.
    void onDpiChanged(int32_t dpi, const RECT* suggested);
    // Status line text; nothing when the status line is missing.
    void setStatus(const std::wstring& text);
    // Panel offset clamped to the content and applied to the scroll bar (shown only when needed).
    void updatePanelScrollBar();
    // Scrolls the panel to target pixels from the top (clamped); relays out only on a change.
    void scrollPanelTo(int32_t target);
    // One line of the status line's font, in pixels; 0 before it exists.
    int32_t statusTextHeight() const;
    // Places panel controls (scrolled), scroll bar, preview and status line for the client size.
    void layoutControls();

    // control_panel_win32.cpp: creating the panel and putting texts on it.
    // Every panel row in creation order, the groups after the fixed ones placed one under another.
    static std::vector<PanelRow> panelRows();
    // The control of a design option (by its project key); null before the panel exists.
    HWND optionControl(const char* key) const;
    // Fonts, tooltip control, every panel control, preview and status line, then texts and layout.
    void createControls();
    void createFonts();
    // New fonts for the window's DPI on every panel control and the status line; then the old go.
    void applyFonts();
    void createTooltipControl();
    // Gives control a tooltip whose text is asked for (in the current language) when shown, with the
    // keyboard shortcut of command (if it has one) in brackets after it.
    void addTooltip(HWND control, const wchar_t* key, WORD command);
    // The tooltip a control keeps while disabled, and its place after a layout.
    void addDisabledTooltip(HWND control);
    void placeDisabledTooltips();
    // Options only a laser uses are greyed while the router check box is on.
    void enableLaserOnlyOptions();
    // Replaces the combo's list by items and shows shownText.
    void fillCombo(HWND combo, const std::vector<std::wstring>& items, const std::wstring& shownText);
    // Value labels: the key's text and the display unit, "Width mm".
    void refreshValueLabels();
    // Thickness and tool presets of the display unit; an empty box gets the unit's default.
    void refillPresetLists();
    // The combos' items in the current language, selected from the state (not the old list).
    void refillUnitsCombo();
    void refillLanguageCombo();
    void refillRenderCombo();
    // "No limit" in the current language, then the common sheets; the size shown is kept.
    void refillSheetCombo();
    // Every language-bound text of the window, combos and value labels; the status line keeps its text.
    void applyTexts();

    // parameter_entry_win32.cpp: the design and settings the panel shows.
    // The control's number in millimetres (inches converted); the default for text that is no number.
    double readNumber(HWND control, double defaultMm) const;
    // Shows valueMm in the display unit with at most 4 decimals.
    void writeNumber(HWND control, double valueMm);
    // The control's leading integer, not range-checked; the default when it has none.
    int32_t readCount(HWND combo, int32_t defaultCount) const;
    // Selects the combo item beginning with the number, else sets the text (plain controls).
    void selectOrSetInteger(HWND control, int32_t value);
    // A design option's value as its control shows it, into design (lengths in millimetres; the
    // default for text that is no number), and the design's value shown in it.
    void readOption(const DesignOption& option, HWND control, BoxParameters& design) const;
    void writeOption(const DesignOption& option, HWND control, const BoxParameters& design);
    // The sheet combo's size: none for its first item ("no limit", in whatever language filled it) or
    // an empty box, -1 x -1 for text that is no size; and a size shown as its preset or typed.
    SheetSize readSheetSize(HWND combo) const;
    void writeSheetSize(HWND combo, SheetSize size);
    // The design the panel shows, in millimetres; not validated.
    BoxParameters readParametersFromControls() const;
    // The panel's design validated (outer sizes derived); false with the model's message.
    bool tryReadParameters(BoxParameters& parameters, std::wstring& error) const;
    std::wstring statusSummary() const;
    // New pieces (on their sheets) from the panel, or the error in the status line with the last
    // pieces kept; a new design is an undo step unless step says Rebase. Empty when the pieces are
    // the panel's design, else why not.
    std::wstring regenerate(HistoryStep step = HistoryStep::Record);
    // The sheets as the 2D plan shows them, and the panel's line with their count and use.
    void refreshSheetView();
    // "3 hojas", "1 sheet": how many sheets the pieces lie on.
    std::wstring sheetCount() const;
    // An edit: regenerate 350 ms after the last one (only while change tracking is on).
    void markChanged();
    // Switches the panel between millimetres and inches as the units combo says.
    void changeUnits();
    // Language, unit, design and view choices of settings into the panel.
    void applySettingsToControls(const AppSettings& settings);
    // A settings record of everything the panel shows.
    AppSettings readSettingsFromControls() const;
    // Saves readSettingsFromControls; a failure is silent.
    void saveSettingsFromControls();
    // A loaded design into the panel (finger counts held to 1..10, divider counts to 0..100).
    void applyParametersToControls(const BoxParameters& parameters);

    // preview_window_win32.cpp: the preview's mouse, paint and view.
    void onPreviewPaint();
    void onPreviewWheel(WPARAM wParam, LPARAM lParam);
    void startPreviewDrag();
    // Zoom 1, no pan, no drag, initial rotation; repaints and says "status.viewFit".
    void fitPreview();
    // Asks the preview to repaint without erasing.
    void invalidatePreview();
    // Ends a rotation or pan and lets the mouse go (capture lost, mode cancelled, a double click).
    void endPreviewDrags();

    // shell_commands_win32.cpp: what the panel's buttons and choices do.
    // Reads and validates the panel's design; when it is refused, the model's message in a warning box.
    bool readDesignOrWarn(BoxParameters& design);
    // Regenerates from the panel at once (a waiting edit included) and saves the settings.
    void updateCommand();
    // An edit still waiting for the typing to pause is regenerated now, as an undo step of its own.
    void settlePendingEdit();
    // The previous or next design of the history into the panel, regenerated; "Deshecho."/"Rehecho.".
    void undoCommand();
    void redoCommand();
    void stepHistory(std::optional<BoxParameters> (DesignHistory::*step)(), const wchar_t* doneKey);
    // Ctrl+3: the 3D check box flipped and obeyed as if clicked.
    void toggle3DShortcut();
    // Saves the settings and closes the window.
    void exitCommand();
    // Validates and regenerates, saves the settings, then exportCutFile; an invalid design is shown in a box.
    void exportDxfCommand();
    // Asks for a file name (offering name) and type (DXF lines and arcs, DXF closed polylines, SVG)
    // and writes the pieces in it, DXF in inches when the panel shows inches; a file error is shown
    // and the dialog comes back until success or cancel. Several sheets are a file each, named after
    // the chosen one: one question for the files that exist, and a failure names its file and stops.
    void exportCutFile(const PieceSet& pieces, const wchar_t* name, const std::vector<Sheet>& sheets = {},
                       SheetSize sheet = {});
    // Asks once whether files of the set that exist may be replaced, naming them and any leftover
    // higher-numbered files of an earlier export; leftover holds those names when nothing was asked.
    bool confirmSheetFiles(const std::vector<CutFile>& files, const std::wstring& chosen, std::wstring& leftover);
    // Writes the joint fit test of the panel's design as exportCutFile does; a design the test cannot
    // serve is told in a box.
    void testPieceCommand();
    // Sends the pieces to the address in the server field and tells the size of the DXF answered.
    void testServerCommand();
    // Saves the panel's validated design as a project file; a failure brings the dialog back.
    void saveProjectCommand();
    // The project dialogs' filter: projects, then every file, in the current language.
    std::wstring projectFilter() const;
    // Asks for a project file and opens it.
    void loadProjectCommand();
    // The window title: the current project's file name before the program's name, when there is one.
    void refreshTitle();
    // After a Yes: factory settings into the panel and the settings file, view fitted.
    void resetCommand();
    // The 3D view as the check box says; view fitted, Direct3D freed when leaving 3D, saved.
    void toggle3DViewCommand();
    // The engine chosen in the combo; Direct3D freed so the next 3D paint starts afresh; saved.
    void renderEngineCommand();
    // The language chosen in the language combo becomes current, is shown and saved.
    void languageCommand();
    // Opens the product's web page in the browser.
    void openWebsiteCommand();

    // update_notice_win32.cpp: the update check and its notice.
    // Starts the update-check worker against the product page, at most once per run.
    void startUpdateCheck();
    // A worker's result: kept, the notice refreshed, the status line told only when newer.
    void handleUpdateResult(bool available, const std::wstring& version, const std::wstring& address);
    // The notice shows "Update available: <version>" while a newer version is known, else it is hidden.
    void refreshUpdateNotice();
    // Opens the announced download page (a web address only; otherwise the product page).
    void openDownloadPage();

    // about_window_win32.cpp: the modal About window.
    // Returns once it is closed, with the main window enabled again.
    void showAboutWindow();
    void createAboutChildren(HWND window);

    HINSTANCE instance_ = nullptr;
    ModalUi& modalUi_;
    const std::wstring productPage_;
    HWND mainWindow_ = nullptr;
    HWND previewWindow_ = nullptr;
    HWND statusLine_ = nullptr;
    HWND panelScrollBar_ = nullptr;
    HWND tooltipWindow_ = nullptr;
    std::vector<HWND> disabledTooltips_;  // controls with a tool on the main window as well
    PanelControls panel_;
    ShellFonts fonts_;

    PreviewViewState view_;     // zoom, pan, rotation and drags; show3D and renderMode are kept in the settings
    Direct3DRenderer renderer_;  // created at the first 3D paint that wants it

    HACCEL accelerators_ = nullptr;
    HWND focusedControl_ = nullptr;  // given back when the window is activated again
    bool direct3dRefused_ = false;   // Automatic paints with GDI until the engine or size changes
    DesignHistory history_;
    std::wstring projectPath_;       // the project loaded or saved last; empty after a reset
    const UpdateCheckResult* pendingUpdateResult_ = nullptr;  // given to the running worker

    bool changeTrackingEnabled_ = false;  // panel edits restart REGENERATE_TIMER only while set
    int32_t dpi_ = kBaseDpi;              // the main window's; the panel, fonts and About scale by dpi_ / 96
    int32_t panelScrollPos_ = 0;          // pixels
    int32_t panelContentHeight_ = 0;      // pixels at 96 DPI the panel's controls need
    bool useInches_ = false;              // the panel shows and reads inches
    size_t exportTypeIndex_ = 0;          // the export dialog's type chosen last in this run

    bool updateCheckStarted_ = false;  // the worker was started in this run (never again)
    bool updateAvailable_ = false;     // the last result named a newer version
    std::wstring latestVersion_;       // as fetched
    std::wstring downloadUrl_;         // as fetched, or the product page

    std::vector<TextBinding> textBindings_;
    std::vector<TextBinding> tooltipBindings_;
    std::wstring tooltipText_;  // outlives the tooltip's text request
    std::vector<PanelPlacement> layoutEntries_;
    std::vector<CommandRoute> panelRoutes_;

    LanguageManager languages_;
    std::wstring currentLanguage_ = L"es";

    PieceSet pieces_;
    std::vector<Sheet> sheets_;  // pieces_ on the design's sheets; empty for the one plan
    SheetView sheetView_;        // sheets_ side by side, as the 2D plan shows them
    BoxParameters design_;
};

// The Application a window of ours belongs to: taken from the creation parameters and kept in the
// window's user data at WM_NCCREATE; null for messages that come before it.
Application* applicationOf(HWND window, UINT message, LPARAM lParam);

// The text key of the engine's name: "renderer.gdi", "renderer.d3d9" or "renderer.auto".
const wchar_t* engineKey(RenderMode mode);

// Registers a window class of ours with the arrow cursor and a system colour (COLOR_*) as background;
// a failure, or an earlier registration, is harmless here and shows up at creation.
void registerWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, UINT style, int backgroundColour);

// Registers TessaroMainWindow and TessaroPreview; results are ignored (a failure shows up at creation).
void registerWindowClasses(HINSTANCE instance);

// Creates the main window for app where it was last closed (1280 x 900 centred at the first start; the
// whole create sequence runs inside); null on failure.
HWND createMainWindow(Application& app);

// The first keyboard shortcut of the main window that sends command, as a user reads it ("Ctrl+E",
// "F5"); empty when none does.
std::wstring shortcutText(WORD command);

// Runs the message loop with the app's shortcuts and the main window's dialog filter until the quit
// message; returns its code.
int runMessageLoop(Application& app);

// The program: common controls, application object, main window (maximised if it was closed so), the
// project named on the command line opened, message loop; the exit code.
int runApplication(HINSTANCE instance, int showCommand, const std::wstring& projectPath);
