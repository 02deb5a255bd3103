#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/control_ids.h"
#include "app/length_text.h"
#include "app/panel_layout.h"
#include "model/design_options.h"
#include "settings/sheet_size_text.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>
#include <span>

namespace {

enum class ControlKind { TitleLabel, UpdateNotice, Label, ValueLabel, Edit, ListCombo, EditableCombo, CheckBox, GroupBox, PushButton };

// What a row's control is filled with right after creation.
enum class RowFill { None, Languages, Units, Engines, Presets, Counts, Sheets };

constexpr Application::Notifications kAny = Application::kAnyNotifications;
constexpr Application::Notifications kFieldEdits{EN_CHANGE, CBN_EDITCHANGE, CBN_SELCHANGE};
constexpr Application::Notifications kSelection{CBN_SELCHANGE, CBN_SELCHANGE, CBN_SELCHANGE};
constexpr Application::Notifications kClick{BN_CLICKED, BN_CLICKED, BN_CLICKED};
constexpr Application::Notifications kLeave{EN_KILLFOCUS, EN_KILLFOCUS, EN_KILLFOCUS};
constexpr Application::Notifications kStaticClick{STN_CLICKED, STN_CLICKED, STN_CLICKED};

using A = Application;

}  // namespace

// A control of the panel: where it sits at 96 DPI (a combo's height is its dropped list's), what it
// shows, its tooltip (naming the shortcut of the command it stands for) and the handler of its
// notifications. A design option's row takes its id, texts, tooltip and handler from the option.
struct Application::PanelRow {
    ControlKind kind;
    int id = 0;
    PixelRect place{};
    const wchar_t* key = nullptr;          // text key of a bound text
    const wchar_t* initialText = nullptr;  // fixed text of an unbound control
    HWND PanelControls::*field = nullptr;  // where the handle is kept
    RowFill fill = RowFill::None;
    const wchar_t* tooltip = nullptr;
    WORD shortcut = 0;
    Notifications notifications = kAny;
    void (Application::*handler)() = nullptr;
    const char* option = nullptr;  // the design option's project key
};

namespace {

using Row = Application::PanelRow;
using K = ControlKind;
using F = PanelControls;

// Presets offered by the editable combos of a length; any other number may be typed. The first
// text is shown in an empty box.
struct Presets {
    const char* option;
    std::vector<std::wstring> millimetres;
    std::vector<std::wstring> inches;
    const wchar_t* emptyMm;
    const wchar_t* emptyIn;
};

const Presets kPresets[] = {
    {"materialThickness",
     {L"1.5", L"2", L"2.5", L"3", L"4", L"4.5", L"5", L"6", L"9", L"12", L"15", L"18"},
     {L"0.0625", L"0.080", L"0.0938", L"0.118", L"0.125", L"0.157", L"0.177", L"0.236", L"0.25", L"0.354", L"0.5",
      L"0.709"},
     L"3", L"0.118"},
    {"toolDiameter",
     {L"1", L"1.5", L"2", L"3", L"3.175", L"4", L"6", L"6.35", L"8"},
     {L"0.0313", L"0.0394", L"0.0625", L"0.0787", L"0.118", L"0.125", L"0.157", L"0.236", L"0.25"},
     L"3.175", L"0.125"},
};

const Presets* presetsOf(const char* option) {
    for (const Presets& presets : kPresets)
        if (std::string_view(presets.option) == option) return &presets;
    return nullptr;
}

size_t optionIndex(const char* key) {
    const DesignOption* option = findDesignOption(key);
    return option ? static_cast<size_t>(option - designOptions().data()) : designOptions().size();
}


// A row of a design option's control or label; the option gives the rest.
Row optionRow(ControlKind kind, PixelRect place, const char* option, RowFill fill = RowFill::None) {
    Row row{kind, 0, place};
    row.fill = fill;
    row.option = option;
    return row;
}

struct PanelGroup {
    const wchar_t* title;
    std::span<const Application::PanelRow> rows;
};

// Flowing layout, at 96 DPI: a group's rows start under its title; a group follows the one above.
constexpr int32_t kGroupX = 10;
constexpr int32_t kGroupWidth = 304;
constexpr int32_t kGroupGap = 8;
constexpr int32_t kFirstRowOffset = 24;
constexpr int32_t kRowX = 22;
constexpr int32_t kRowWidth = 280;
constexpr int32_t kLabelWidth = 132;
constexpr int32_t kFieldX = 154;
constexpr int32_t kFieldWidth = 118;
constexpr int32_t kFieldPitch = 23;
constexpr int32_t kListHeight = 180;

// A control across the group's width: its height and the gap under it.
struct FullWidth {
    int32_t height, gap;
};

FullWidth fullWidth(ControlKind kind) {
    switch (kind) {
    case ControlKind::CheckBox: return {20, 4};
    case ControlKind::Label: return {18, 2};
    case ControlKind::Edit: return {22, 8};
    default: return {26, 8};
    }
}

// The groups' rows placed under top: a design option's row becomes its label and field (a count, a
// length) or its check box; any other row spans the group.
std::vector<Row> flowingRows(std::span<const PanelGroup> groups, int32_t top) {
    std::vector<Row> rows;
    int32_t groupY = top + kGroupGap;
    for (const PanelGroup& group : groups) {
        const size_t boxIndex = rows.size();
        rows.push_back({K::GroupBox, 0, {kGroupX, groupY, kGroupWidth, 0}, group.title});
        int32_t y = groupY + kFirstRowOffset;
        for (const Row& row : group.rows) {
            const DesignOption* option = row.option ? findDesignOption(row.option) : nullptr;
            if (option && option->kind != OptionKind::Flag && option->kind != OptionKind::Choice) {
                const bool count = option->kind == OptionKind::Count;
                const bool size = option->kind == OptionKind::Size;
                const bool typed = option->panel.shownHigh > option->panel.listedHigh;
                const K field = size ? K::EditableCombo : !count ? K::Edit : typed ? K::EditableCombo : K::ListCombo;
                const RowFill fill = size ? RowFill::Sheets : count ? RowFill::Counts : RowFill::None;
                rows.push_back(optionRow(count ? K::Label : K::ValueLabel, {kRowX, y, kLabelWidth, 20}, row.option));
                rows.push_back(optionRow(field, {kFieldX, y - 2, kFieldWidth, count || size ? kListHeight : 22}, row.option,
                                         fill));
                y += kFieldPitch;
                continue;
            }
            const FullWidth size = fullWidth(row.kind);
            Row placed = row;
            placed.place = {kRowX, y, kRowWidth, size.height};
            rows.push_back(placed);
            y += size.height + size.gap;
        }
        rows[boxIndex].place.height = y - groupY;
        groupY = y + kGroupGap;
    }
    return rows;
}

struct KindStyle {
    const wchar_t* className;
    DWORD extendedStyle;
    DWORD style;
};

KindStyle styleOf(ControlKind kind) {
    constexpr DWORD visibleChild = WS_CHILD | WS_VISIBLE;
    switch (kind) {
    case ControlKind::UpdateNotice: return {L"STATIC", 0, WS_CHILD | SS_NOTIFY};
    case ControlKind::TitleLabel:
    case ControlKind::Label:
    case ControlKind::ValueLabel: return {L"STATIC", 0, visibleChild | SS_NOTIFY};
    case ControlKind::Edit: return {L"EDIT", WS_EX_CLIENTEDGE, visibleChild | WS_TABSTOP | ES_AUTOHSCROLL};
    case ControlKind::ListCombo:
        return {L"COMBOBOX", WS_EX_CLIENTEDGE, visibleChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST};
    case ControlKind::EditableCombo:
        return {L"COMBOBOX", WS_EX_CLIENTEDGE,
                visibleChild | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL};
    case ControlKind::CheckBox: return {L"BUTTON", 0, visibleChild | WS_TABSTOP | BS_AUTOCHECKBOX};
    case ControlKind::GroupBox: return {L"BUTTON", 0, visibleChild | BS_GROUPBOX};
    case ControlKind::PushButton: return {L"BUTTON", 0, visibleChild | WS_TABSTOP | BS_PUSHBUTTON};
    }
    return {L"STATIC", 0, visibleChild};
}

// Height a control takes in the panel: combos count with their closed height.
int32_t layoutHeight(const Row& row) {
    switch (row.kind) {
    case ControlKind::Edit:
    case ControlKind::ListCombo:
    case ControlKind::EditableCombo: return 22;
    case ControlKind::CheckBox: return 20;
    default: return row.place.height;
    }
}

OwnedFont ShellFonts::*fontOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::TitleLabel: return &ShellFonts::title;
    case ControlKind::UpdateNotice:
    case ControlKind::GroupBox: return &ShellFonts::bold;
    case ControlKind::PushButton: return &ShellFonts::button;
    default: return &ShellFonts::normal;
    }
}

void setFont(HWND control, HFONT font) {
    HGDIOBJ used = font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(used), TRUE);
}

void setComboItems(HWND combo, const std::vector<std::wstring>& items) {
    SendMessageW(combo, CB_RESETCONTENT, 0, 0);
    for (const std::wstring& item : items) {
        SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
}

// The whole numbers first..last as items, shown selected.
void fillCounts(HWND combo, int32_t first, int32_t last, int32_t shown) {
    std::vector<std::wstring> counts;
    for (int32_t i = first; i <= last; ++i) counts.push_back(std::to_wstring(i));
    setComboItems(combo, counts);
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(std::clamp(shown, first, last) - first), 0);
}

wchar_t asciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool equalIgnoringCase(const std::wstring& a, const std::wstring& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](wchar_t x, wchar_t y) {
               return asciiLower(x) == asciiLower(y);
           });
}

}  // namespace

std::vector<Application::PanelRow> Application::panelRows() {
    // The panel's first groups, top to bottom, in creation (and Tab) order, at fixed places.
    static const Row kFixedRows[] = {
        {K::TitleLabel, 0, {22, 8, 280, 22}, L"app.title"},
        {K::UpdateNotice, UpdateNoticeId, {22, 32, 280, 18}, nullptr, L"", &F::updateNotice, RowFill::None,
         L"tooltip.updateNotice", 0, kStaticClick, &A::openDownloadPage},
        {K::GroupBox, 0, {10, 57, 304, 112}, L"section.preferences"},
        {K::Label, 0, {22, 81, 132, 20}, L"label.language"},
        {K::ListCombo, LanguageComboId, {154, 78, 118, 180}, nullptr, nullptr, &F::languageCombo, RowFill::Languages,
         L"tooltip.language", 0, kSelection, &A::languageCommand},
        {K::Label, 0, {22, 104, 132, 20}, L"label.units"},
        {K::ListCombo, UnitsComboId, {154, 101, 118, 120}, nullptr, nullptr, &F::unitsCombo, RowFill::Units,
         L"tooltip.units", 0, kSelection, &A::changeUnits},
        {K::CheckBox, CheckUpdatesBoxId, {22, 128, 280, 20}, L"check.checkUpdatesOnStart", nullptr, &F::checkUpdatesBox,
         RowFill::None, L"tooltip.checkUpdatesOnStart", 0, kAny, &A::saveSettingsFromControls},
        {K::GroupBox, 0, {10, 177, 304, 184}, L"section.measurements"},
        optionRow(K::ValueLabel, {22, 201, 132, 20}, "inputWidth"),
        optionRow(K::Edit, {154, 199, 118, 22}, "inputWidth"),
        optionRow(K::ValueLabel, {22, 224, 132, 20}, "inputHeight"),
        optionRow(K::Edit, {154, 222, 118, 22}, "inputHeight"),
        optionRow(K::ValueLabel, {22, 247, 132, 20}, "inputDepth"),
        optionRow(K::Edit, {154, 245, 118, 22}, "inputDepth"),
        optionRow(K::ValueLabel, {22, 270, 132, 20}, "materialThickness"),
        optionRow(K::EditableCombo, {154, 268, 118, 150}, "materialThickness", RowFill::Presets),
        optionRow(K::ValueLabel, {22, 293, 132, 20}, "kerf"),
        optionRow(K::Edit, {154, 291, 118, 22}, "kerf"),
        optionRow(K::ValueLabel, {22, 316, 132, 20}, "clearance"),
        optionRow(K::Edit, {154, 314, 118, 22}, "clearance"),
        optionRow(K::ValueLabel, {22, 339, 132, 20}, "spacing"),
        optionRow(K::Edit, {154, 337, 118, 22}, "spacing"),
        {K::GroupBox, 0, {10, 369, 304, 94}, L"section.joints"},
        optionRow(K::Label, {22, 393, 132, 20}, "fingerCountWidth"),
        optionRow(K::ListCombo, {154, 391, 118, 180}, "fingerCountWidth", RowFill::Counts),
        optionRow(K::Label, {22, 416, 132, 20}, "fingerCountDepth"),
        optionRow(K::ListCombo, {154, 414, 118, 180}, "fingerCountDepth", RowFill::Counts),
        optionRow(K::Label, {22, 439, 132, 20}, "fingerCountHeight"),
        optionRow(K::ListCombo, {154, 437, 118, 180}, "fingerCountHeight", RowFill::Counts),
        {K::GroupBox, 0, {10, 471, 304, 122}, L"section.fabrication"},
        optionRow(K::CheckBox, {22, 495, 280, 20}, "dimensionMode"),
        optionRow(K::CheckBox, {22, 517, 280, 20}, "includeLid"),
        optionRow(K::CheckBox, {22, 539, 280, 20}, "cutMode"),
        optionRow(K::ValueLabel, {22, 563, 132, 20}, "toolDiameter"),
        optionRow(K::EditableCombo, {154, 561, 118, 150}, "toolDiameter", RowFill::Presets),
        {K::GroupBox, 0, {10, 601, 304, 102}, L"section.view"},
        {K::CheckBox, Preview3dBoxId, {22, 625, 120, 20}, L"check.preview3d", nullptr, &F::preview3dBox, RowFill::None,
         L"tooltip.preview3d", Toggle3dCommandId, kAny, &A::toggle3DViewCommand},
        {K::PushButton, FitViewButtonId, {164, 622, 126, 25}, L"button.fitView", nullptr, &F::fitViewButton,
         RowFill::None, L"tooltip.fitView", FitViewButtonId, kAny, &A::fitPreview},
        {K::Label, 0, {22, 653, 132, 20}, L"label.renderEngine"},
        {K::ListCombo, RenderEngineComboId, {154, 650, 118, 120}, nullptr, nullptr, &F::renderEngineCombo,
         RowFill::Engines, L"tooltip.renderEngine", 0, kSelection, &A::renderEngineCommand},
        {K::Label, 0, {22, 681, 280, 18}, L"label.previewHelp"},
        {K::GroupBox, 0, {10, 711, 304, 184}, L"section.output"},
        {K::PushButton, ExportDxfButtonId, {22, 735, 280, 28}, L"button.exportDxf", nullptr, &F::exportButton,
         RowFill::None, L"tooltip.exportDxf", ExportDxfButtonId, kAny, &A::exportDxfCommand},
        {K::PushButton, SaveButtonId, {22, 769, 84, 26}, L"button.save", nullptr, &F::saveButton, RowFill::None,
         L"tooltip.save", SaveButtonId, kAny, &A::saveProjectCommand},
        {K::PushButton, LoadButtonId, {114, 769, 84, 26}, L"button.load", nullptr, &F::loadButton, RowFill::None,
         L"tooltip.load", LoadButtonId, kAny, &A::loadProjectCommand},
        {K::PushButton, UpdateButtonId, {206, 769, 84, 26}, L"button.update", nullptr, &F::updateButton, RowFill::None,
         L"tooltip.update", UpdateButtonId, kAny, &A::updateCommand},
        {K::PushButton, AboutButtonId, {22, 801, 280, 26}, L"button.about", nullptr, &F::aboutButton, RowFill::None,
         L"tooltip.about", 0, kAny, &A::showAboutWindow},
        {K::PushButton, ResetButtonId, {22, 833, 280, 26}, L"button.reset", nullptr, &F::resetButton, RowFill::None,
         L"tooltip.reset", 0, kAny, &A::resetCommand},
        {K::PushButton, ExitButtonId, {22, 865, 280, 26}, L"button.exit", nullptr, nullptr, RowFill::None, nullptr, 0, kAny,
         &A::exitCommand},
        // In About's column, right under the output group.
        {K::PushButton, WebsiteButtonId, {22, 903, 280, 26}, L"button.website", nullptr, &F::websiteButton, RowFill::None,
         L"tooltip.website", 0, kAny, &A::openWebsiteCommand},
    };

    // The groups below the fixed ones, one under another. A flowing row is a design option (its label
    // and field, or its check box) or a control across the group's width; its place follows from the
    // rows before it.
    static const Row kDividerRows[] = {
        optionRow(K::Label, {}, "widthDividerCount"),
        optionRow(K::Label, {}, "depthDividerCount"),
        optionRow(K::CheckBox, {}, "addDividerBaseSlots"),
    };

    static const Row kServerRows[] = {
        {K::Label, 0, {}, L"label.serverAddress"},
        {K::Edit, ServerAddressEditId, {}, nullptr, L"", &F::serverAddressEdit, RowFill::None, L"tooltip.serverAddress", 0,
         kLeave, &A::saveSettingsFromControls},
        {K::PushButton, TestServerButtonId, {}, L"button.testServer", nullptr, nullptr, RowFill::None, nullptr, 0, kAny,
         &A::testServerCommand},
    };

    static const Row kCutRows[] = {
        optionRow(K::CheckBox, {}, "compensateKerf"),
        optionRow(K::CheckBox, {}, "engraveLabels"),
        {K::PushButton, TestPieceButtonId, {}, L"button.testPiece", nullptr, nullptr, RowFill::None, L"tooltip.testPiece",
         0, kAny, &A::testPieceCommand},
    };

    static const Row kSheetRows[] = {
        optionRow(K::ValueLabel, {}, "sheetSize"),
        optionRow(K::ValueLabel, {}, "sheetMargin"),
        optionRow(K::CheckBox, {}, "turnPieces"),
        {K::Label, SheetResultId, {}, nullptr, L"", &F::sheetResult},
    };

    static const PanelGroup kFlowGroups[] = {
        {L"section.dividers", kDividerRows},
        {L"section.cut", kCutRows},
        {L"section.sheet", kSheetRows},
        {L"section.server", kServerRows},
    };

    // A design option's row takes its id, texts, tooltip and handler from the option.
    const auto completed = [](Row row) {
        if (!row.option) return row;
        const DesignOption& option = *findDesignOption(row.option);
        if (row.kind != K::Label && row.kind != K::ValueLabel) {
            row.id = option.panel.controlId;
            row.notifications = row.kind == K::CheckBox ? kClick : kFieldEdits;
            row.handler = &A::markChanged;
            row.initialText = L"";
        }
        if (row.kind == K::CheckBox || row.kind == K::Label) row.key = option.panel.labelKey;
        if (row.kind != K::Label) row.tooltip = option.panel.tooltipKey;
        return row;
    };
    std::vector<Row> rows;
    int32_t bottom = 0;
    for (const Row& row : kFixedRows) {
        rows.push_back(completed(row));
        bottom = std::max(bottom, row.place.y + layoutHeight(row));
    }
    for (const Row& row : flowingRows(kFlowGroups, bottom)) rows.push_back(completed(row));
    return rows;
}

void Application::createFonts() {
    const auto makeFont = [dpi = dpi_](int points, int weight) {
        return CreateFontW(-MulDiv(points, dpi, 72), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    };
    fonts_.normal.reset(makeFont(9, FW_NORMAL));
    fonts_.bold.reset(makeFont(9, FW_BOLD));
    fonts_.title.reset(makeFont(12, FW_BOLD));
    fonts_.button.reset(makeFont(9, FW_BOLD));
}

void Application::applyFonts() {
    const ShellFonts old = std::move(fonts_);  // deleted once no control shows them
    createFonts();
    for (const PanelPlacement& placement : layoutEntries_) setFont(placement.control, (fonts_.*placement.font).get());
    if (statusLine_) setFont(statusLine_, fonts_.bold.get());
}

void Application::createTooltipControl() {
    tooltipWindow_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
                                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, mainWindow_, nullptr,
                                    instance_, nullptr);
    if (!tooltipWindow_) return;
    SetWindowPos(tooltipWindow_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SendMessageW(tooltipWindow_, TTM_SETMAXTIPWIDTH, 0, 320);
    SendMessageW(tooltipWindow_, TTM_SETDELAYTIME, TTDT_INITIAL, 300);
    SendMessageW(tooltipWindow_, TTM_SETDELAYTIME, TTDT_AUTOPOP, 10000);
    SendMessageW(tooltipWindow_, TTM_ACTIVATE, TRUE, 0);
}

void Application::createControls() {
    if (!tooltipWindow_ && mainWindow_) createTooltipControl();
    textBindings_.clear();
    tooltipBindings_.clear();
    disabledTooltips_.clear();
    // Added once the texts are on: a tooltip asks for its text when shown.
    struct PendingTooltip {
        HWND control;
        const wchar_t* key;
        WORD command;
    };
    std::vector<PendingTooltip> pendingTooltips;

    panel_.options.assign(designOptions().size(), nullptr);
    panel_.optionLabels.assign(designOptions().size(), nullptr);
    panelRoutes_.clear();
    for (const PanelRow& row : panelRows()) {
        const KindStyle kind = styleOf(row.kind);
        const wchar_t* initial = row.initialText ? row.initialText : L"";
        const PixelRect& at = row.place;
        HWND control = CreateWindowExW(kind.extendedStyle, kind.className, initial, kind.style, at.x, at.y, at.width,
                                       at.height, mainWindow_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)),
                                       instance_, nullptr);
        if (row.field) panel_.*row.field = control;
        if (row.option) {
            const size_t index = optionIndex(row.option);
            (row.kind == ControlKind::Label || row.kind == ControlKind::ValueLabel ? panel_.optionLabels
                                                                                   : panel_.options)[index] = control;
        }
        if (row.handler) panelRoutes_.push_back({row.id, row.notifications, row.handler});
        if (!control) continue;

        layoutEntries_.push_back({control, at, fontOf(row.kind)});
        panelContentHeight_ = std::max(panelContentHeight_, at.y + layoutHeight(row) + kPanelBottomMargin);
        if (row.key) textBindings_.push_back({control, row.key, L""});
        pendingTooltips.push_back({control, row.tooltip, row.shortcut});

        switch (row.fill) {
        case RowFill::None: break;
        case RowFill::Languages: refillLanguageCombo(); break;
        case RowFill::Units: refillUnitsCombo(); break;
        case RowFill::Engines: refillRenderCombo(); break;
        case RowFill::Presets: {
            const Presets& presets = *presetsOf(row.option);
            fillCombo(control, presets.millimetres, presets.emptyMm);
            break;
        }
        case RowFill::Sheets: refillSheetCombo(); break;
        case RowFill::Counts: {
            const DesignOption& option = *findDesignOption(row.option);
            const auto shown = static_cast<int32_t>(option.access.get(BoxParameters{}));
            fillCounts(control, option.panel.listedLow, option.panel.listedHigh, shown);
            break;
        }
        }
    }

    // layoutControls gives these three their places for the client size.
    panelScrollBar_ = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0,
                                     mainWindow_, nullptr, instance_, nullptr);
    previewWindow_ = CreateWindowExW(WS_EX_CLIENTEDGE, PREVIEW_WINDOW_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, mainWindow_, nullptr, instance_, this);
    // One line, cut with an ellipsis where it does not fit, never mid-word on a second line.
    statusLine_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", text(L"status.ready").c_str(),
                                  WS_CHILD | WS_VISIBLE | SS_ENDELLIPSIS | SS_CENTERIMAGE, 0, 0,
                                  0, 0, mainWindow_, nullptr, instance_, nullptr);
    applyFonts();

    refreshValueLabels();
    applyTexts();
    for (const PendingTooltip& tooltip : pendingTooltips) addTooltip(tooltip.control, tooltip.key, tooltip.command);
    for (const DesignOption& option : designOptions())
        if (option.panel.laserOnly) addDisabledTooltip(optionControl(option.projectKey));

    if (!previewWindow_) {
        modalUi_.showMessage(mainWindow_, text(L"dialog.previewCreateError"), text(L"dialog.preview"), MB_OK | MB_ICONERROR);
    }
    layoutControls();
}

void Application::addTooltip(HWND control, const wchar_t* key, WORD command) {
    if (!tooltipWindow_ || !control || !key) return;
    tooltipBindings_.push_back({control, key, shortcutText(command)});
    TOOLINFOW tool{};
    // The first version of the structure, sized for this build (the size differs between 32 and 64 bits).
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS | TTF_TRANSPARENT;
    tool.hwnd = mainWindow_;
    tool.uId = reinterpret_cast<UINT_PTR>(control);
    tool.hinst = instance_;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

// A disabled control gets no mouse messages, so a tool over its rectangle on the main window shows its
// tooltip then; the tool asks for the text by the control's id, and layoutControls keeps it in place.
void Application::addDisabledTooltip(HWND control) {
    if (!tooltipWindow_ || !control) return;
    TOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V1_SIZE;
    tool.uFlags = TTF_SUBCLASS;
    tool.hwnd = mainWindow_;
    tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
    tool.hinst = instance_;
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tooltipWindow_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    disabledTooltips_.push_back(control);
}

void Application::placeDisabledTooltips() {
    for (HWND control : disabledTooltips_) {
        TOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V1_SIZE;
        tool.hwnd = mainWindow_;
        tool.uId = static_cast<UINT_PTR>(GetDlgCtrlID(control));
        GetWindowRect(control, &tool.rect);
        MapWindowPoints(nullptr, mainWindow_, reinterpret_cast<POINT*>(&tool.rect), 2);
        SendMessageW(tooltipWindow_, TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
    }
}

void Application::enableLaserOnlyOptions() {
    const HWND router = optionControl("cutMode");
    const bool laser = !router || SendMessageW(router, BM_GETCHECK, 0, 0) != BST_CHECKED;
    const auto options = designOptions();
    for (size_t i = 0; i < options.size() && i < panel_.options.size(); ++i)
        if (options[i].panel.laserOnly && panel_.options[i]) EnableWindow(panel_.options[i], laser);
}

void Application::fillCombo(HWND combo, const std::vector<std::wstring>& items, const std::wstring& shownText) {
    if (!combo) return;
    setComboItems(combo, items);
    SetWindowTextW(combo, shownText.c_str());
}

void Application::refreshValueLabels() {
    const std::wstring unit = useInches_ ? L" in" : L" mm";
    const auto options = designOptions();
    for (size_t i = 0; i < panel_.optionLabels.size(); ++i) {
        const bool length = options[i].kind == OptionKind::Length || options[i].kind == OptionKind::Size;
        if (!length || !panel_.optionLabels[i]) continue;
        SetWindowTextW(panel_.optionLabels[i], (text(options[i].panel.labelKey) + unit).c_str());
    }
}

void Application::refillPresetLists() {
    for (const Presets& presets : kPresets) {
        HWND combo = optionControl(presets.option);
        if (!combo) continue;
        const std::wstring shown = windowText(combo, 127);
        fillCombo(combo, useInches_ ? presets.inches : presets.millimetres,
                  !shown.empty() ? shown : (useInches_ ? presets.emptyIn : presets.emptyMm));
    }
}

HWND Application::optionControl(const char* key) const {
    const size_t index = optionIndex(key);
    return index < panel_.options.size() ? panel_.options[index] : nullptr;
}

void Application::refillSheetCombo() {
    const HWND combo = optionControl("sheetSize");
    if (!combo) return;
    // Read before the list changes: its first item, in the old language, is what "no limit" said.
    const SheetSize shown = readSheetSize(combo);
    std::vector<std::wstring> items{text(L"sheet.noLimit")};
    for (const SheetPreset& preset : sheetPresets()) items.push_back(preset.label);
    setComboItems(combo, items);
    writeSheetSize(combo, shown);
}

void Application::refillUnitsCombo() {
    if (!panel_.unitsCombo) return;
    setComboItems(panel_.unitsCombo, {text(L"units.mm"), text(L"units.in")});
    SendMessageW(panel_.unitsCombo, CB_SETCURSEL, useInches_ ? 1 : 0, 0);
}

void Application::refillLanguageCombo() {
    if (!panel_.languageCombo) return;
    std::vector<std::wstring> names;
    std::optional<size_t> selected;
    const auto& available = languages_.available();
    for (size_t i = 0; i < available.size(); ++i) {
        names.push_back(available[i].displayName);
        if (!selected && equalIgnoringCase(available[i].code, currentLanguage_)) selected = i;
    }
    setComboItems(panel_.languageCombo, names);
    SendMessageW(panel_.languageCombo, CB_SETCURSEL, selected.value_or(0), 0);
}

void Application::refillRenderCombo() {
    if (!panel_.renderEngineCombo) return;
    setComboItems(panel_.renderEngineCombo, {text(L"renderer.auto"), text(L"renderer.gdi"), text(L"renderer.d3d9")});
    const WPARAM selected = view_.renderMode == RenderMode::Gdi ? 1 : view_.renderMode == RenderMode::Direct3D9 ? 2 : 0;
    SendMessageW(panel_.renderEngineCombo, CB_SETCURSEL, selected, 0);
}

void Application::refreshTitle() {
    if (!mainWindow_) return;
    const std::wstring name = projectPath_.substr(projectPath_.find_last_of(L"\\/") + 1);
    SetWindowTextW(mainWindow_, ((name.empty() ? L"" : name + L" - ") + text(L"app.windowTitle")).c_str());
}

void Application::applyTexts() {
    refreshTitle();
    for (const TextBinding& binding : textBindings_) {
        if (binding.control) SetWindowTextW(binding.control, text(binding.key.c_str()).c_str());
    }
    refillUnitsCombo();
    refillLanguageCombo();
    refillRenderCombo();
    refillSheetCombo();
    refreshSheetView();
    refreshValueLabels();
    refreshUpdateNotice();
    if (statusLine_ && GetWindowTextLengthW(statusLine_) == 0) setStatus(text(L"status.ready"));
}
