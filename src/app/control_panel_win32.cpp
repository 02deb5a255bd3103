#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/control_ids.h"
#include "app/panel_layout.h"

#include <commctrl.h>

#include <algorithm>
#include <optional>

namespace {

enum class ControlKind { TitleLabel, UpdateNotice, Label, ValueLabel, Edit, ListCombo, EditableCombo, CheckBox, GroupBox, PushButton };

// What a row's control is filled with right after creation.
enum class RowFill { None, Languages, Units, Engines, ThicknessPresets, ToolPresets, Fingers, Dividers };

struct ControlRow {
    ControlKind kind;
    int id;
    int32_t x, y, width, height;  // for combos the height is that of the dropped list
    const wchar_t* key;           // text key of a bound text, or null
    const wchar_t* initialText;   // fixed text of an unbound control, or null
    HWND PanelControls::*field;     // where the handle is kept, or null
    RowFill fill = RowFill::None;
    int32_t count = 0;            // initial count of a fingers or dividers combo
};

using A = Application;

// The panel, top to bottom, in creation (and Tab) order.
const ControlRow controlRows[] = {
    {ControlKind::TitleLabel, 0, 22, 8, 280, 22, L"app.title", nullptr, nullptr},
    {ControlKind::UpdateNotice, UpdateNoticeId, 22, 32, 280, 18, nullptr, L"", &PanelControls::updateNotice},
    {ControlKind::GroupBox, 0, 10, 57, 304, 112, L"section.preferences", nullptr, nullptr},
    {ControlKind::Label, 0, 22, 81, 132, 20, L"label.language", nullptr, nullptr},
    {ControlKind::ListCombo, LanguageComboId, 154, 78, 118, 180, nullptr, nullptr, &PanelControls::languageCombo, RowFill::Languages},
    {ControlKind::Label, 0, 22, 104, 132, 20, L"label.units", nullptr, nullptr},
    {ControlKind::ListCombo, UnitsComboId, 154, 101, 118, 120, nullptr, nullptr, &PanelControls::unitsCombo, RowFill::Units},
    {ControlKind::CheckBox, CheckUpdatesBoxId, 22, 128, 280, 20, L"check.checkUpdatesOnStart", nullptr, &PanelControls::checkUpdatesBox},
    {ControlKind::GroupBox, 0, 10, 177, 304, 184, L"section.measurements", nullptr, nullptr},
    {ControlKind::ValueLabel, 0, 22, 201, 132, 20, nullptr, L"", &PanelControls::widthLabel},
    {ControlKind::Edit, WidthEditId, 154, 199, 118, 22, nullptr, L"200", &PanelControls::widthEdit},
    {ControlKind::ValueLabel, 0, 22, 224, 132, 20, nullptr, L"", &PanelControls::heightLabel},
    {ControlKind::Edit, HeightEditId, 154, 222, 118, 22, nullptr, L"100", &PanelControls::heightEdit},
    {ControlKind::ValueLabel, 0, 22, 247, 132, 20, nullptr, L"", &PanelControls::depthLabel},
    {ControlKind::Edit, DepthEditId, 154, 245, 118, 22, nullptr, L"150", &PanelControls::depthEdit},
    {ControlKind::ValueLabel, 0, 22, 270, 132, 20, nullptr, L"", &PanelControls::thicknessLabel},
    {ControlKind::EditableCombo, ThicknessComboId, 154, 268, 118, 150, nullptr, nullptr, &PanelControls::thicknessCombo,
     RowFill::ThicknessPresets},
    {ControlKind::ValueLabel, 0, 22, 293, 132, 20, nullptr, L"", &PanelControls::kerfLabel},
    {ControlKind::Edit, KerfEditId, 154, 291, 118, 22, nullptr, L"0.15", &PanelControls::kerfEdit},
    {ControlKind::ValueLabel, 0, 22, 316, 132, 20, nullptr, L"", &PanelControls::clearanceLabel},
    {ControlKind::Edit, ClearanceEditId, 154, 314, 118, 22, nullptr, L"0.10", &PanelControls::clearanceEdit},
    {ControlKind::ValueLabel, 0, 22, 339, 132, 20, nullptr, L"", &PanelControls::spacingLabel},
    {ControlKind::Edit, SpacingEditId, 154, 337, 118, 22, nullptr, L"12", &PanelControls::spacingEdit},
    {ControlKind::GroupBox, 0, 10, 369, 304, 94, L"section.joints", nullptr, nullptr},
    {ControlKind::Label, 0, 22, 393, 132, 20, L"label.fingersWidth", nullptr, nullptr},
    {ControlKind::ListCombo, FingersWidthComboId, 154, 391, 118, 180, nullptr, nullptr, &PanelControls::fingersWidthCombo,
     RowFill::Fingers, 3},
    {ControlKind::Label, 0, 22, 416, 132, 20, L"label.fingersDepth", nullptr, nullptr},
    {ControlKind::ListCombo, FingersDepthComboId, 154, 414, 118, 180, nullptr, nullptr, &PanelControls::fingersDepthCombo,
     RowFill::Fingers, 2},
    {ControlKind::Label, 0, 22, 439, 132, 20, L"label.fingersHeight", nullptr, nullptr},
    {ControlKind::ListCombo, FingersHeightComboId, 154, 437, 118, 180, nullptr, nullptr, &PanelControls::fingersHeightCombo,
     RowFill::Fingers, 1},
    {ControlKind::GroupBox, 0, 10, 471, 304, 122, L"section.fabrication", nullptr, nullptr},
    {ControlKind::CheckBox, InternalDimensionsBoxId, 22, 495, 280, 20, L"check.internalDimensions", nullptr,
     &PanelControls::internalDimensionsBox},
    {ControlKind::CheckBox, AddLidBoxId, 22, 517, 280, 20, L"check.addLid", nullptr, &PanelControls::addLidBox},
    {ControlKind::CheckBox, CncRouterModeBoxId, 22, 539, 280, 20, L"check.cncRouterMode", nullptr, &PanelControls::cncRouterModeBox},
    {ControlKind::ValueLabel, 0, 22, 563, 132, 20, nullptr, L"", &PanelControls::toolDiameterLabel},
    {ControlKind::EditableCombo, ToolDiameterComboId, 154, 561, 118, 150, nullptr, nullptr, &PanelControls::toolDiameterCombo,
     RowFill::ToolPresets},
    {ControlKind::GroupBox, 0, 10, 601, 304, 102, L"section.view", nullptr, nullptr},
    {ControlKind::CheckBox, Preview3dBoxId, 22, 625, 120, 20, L"check.preview3d", nullptr, &PanelControls::preview3dBox},
    {ControlKind::PushButton, FitViewButtonId, 164, 622, 126, 25, L"button.fitView", nullptr, &PanelControls::fitViewButton},
    {ControlKind::Label, 0, 22, 653, 132, 20, L"label.renderEngine", nullptr, nullptr},
    {ControlKind::ListCombo, RenderEngineComboId, 154, 650, 118, 120, nullptr, nullptr, &PanelControls::renderEngineCombo,
     RowFill::Engines},
    {ControlKind::Label, 0, 22, 681, 280, 18, L"label.previewHelp", nullptr, nullptr},
    {ControlKind::GroupBox, 0, 10, 711, 304, 184, L"section.output", nullptr, nullptr},
    {ControlKind::PushButton, ExportDxfButtonId, 22, 735, 280, 28, L"button.exportDxf", nullptr, &PanelControls::exportButton},
    {ControlKind::PushButton, SaveButtonId, 22, 769, 84, 26, L"button.save", nullptr, &PanelControls::saveButton},
    {ControlKind::PushButton, LoadButtonId, 114, 769, 84, 26, L"button.load", nullptr, &PanelControls::loadButton},
    {ControlKind::PushButton, UpdateButtonId, 206, 769, 84, 26, L"button.update", nullptr, &PanelControls::updateButton},
    {ControlKind::PushButton, AboutButtonId, 22, 801, 280, 26, L"button.about", nullptr, &PanelControls::aboutButton},
    {ControlKind::PushButton, ResetButtonId, 22, 833, 280, 26, L"button.reset", nullptr, &PanelControls::resetButton},
    {ControlKind::PushButton, ExitButtonId, 22, 865, 280, 26, L"button.exit", nullptr, nullptr},
    // In About's column, right under the output group.
    {ControlKind::PushButton, WebsiteButtonId, 22, 903, 280, 26, L"button.website", nullptr, &PanelControls::websiteButton},
    {ControlKind::GroupBox, 0, 10, 937, 304, 94, L"section.dividers", nullptr, nullptr},
    {ControlKind::Label, 0, 22, 961, 132, 20, L"label.widthDividers", nullptr, nullptr},
    {ControlKind::EditableCombo, WidthDividersComboId, 154, 959, 118, 180, nullptr, nullptr, &PanelControls::widthDividersCombo,
     RowFill::Dividers},
    {ControlKind::Label, 0, 22, 984, 132, 20, L"label.depthDividers", nullptr, nullptr},
    {ControlKind::EditableCombo, DepthDividersComboId, 154, 982, 118, 180, nullptr, nullptr, &PanelControls::depthDividersCombo,
     RowFill::Dividers},
    {ControlKind::CheckBox, DividerBaseSlotsBoxId, 22, 1007, 280, 20, L"check.dividerBaseSlots", nullptr,
     &PanelControls::dividerBaseSlotsBox},
    {ControlKind::GroupBox, 0, 10, 1039, 304, 108, L"section.server", nullptr, nullptr},
    {ControlKind::Label, 0, 22, 1063, 280, 18, L"label.serverAddress", nullptr, nullptr},
    {ControlKind::Edit, ServerAddressEditId, 22, 1083, 280, 22, nullptr, L"", &PanelControls::serverAddressEdit},
    {ControlKind::PushButton, TestServerButtonId, 22, 1113, 280, 26, L"button.testServer", nullptr, nullptr},
};

// A panel control and the text key it shows (a value label) or explains (a tooltip, naming the
// keyboard shortcut of the command it stands for, if any).
struct KeyedControl {
    HWND PanelControls::*field;
    const wchar_t* key;
    WORD command = 0;
};

const KeyedControl tooltips[] = {
    {&PanelControls::aboutButton, L"tooltip.about"},
    {&PanelControls::languageCombo, L"tooltip.language"},
    {&PanelControls::unitsCombo, L"tooltip.units"},
    {&PanelControls::checkUpdatesBox, L"tooltip.checkUpdatesOnStart"},
    {&PanelControls::updateNotice, L"tooltip.updateNotice"},
    {&PanelControls::widthLabel, L"tooltip.width"},
    {&PanelControls::widthEdit, L"tooltip.width"},
    {&PanelControls::heightLabel, L"tooltip.height"},
    {&PanelControls::heightEdit, L"tooltip.height"},
    {&PanelControls::depthLabel, L"tooltip.depth"},
    {&PanelControls::depthEdit, L"tooltip.depth"},
    {&PanelControls::thicknessLabel, L"tooltip.thickness"},
    {&PanelControls::thicknessCombo, L"tooltip.thickness"},
    {&PanelControls::kerfLabel, L"tooltip.kerf"},
    {&PanelControls::kerfEdit, L"tooltip.kerf"},
    {&PanelControls::clearanceLabel, L"tooltip.clearance"},
    {&PanelControls::clearanceEdit, L"tooltip.clearance"},
    {&PanelControls::spacingLabel, L"tooltip.spacing"},
    {&PanelControls::spacingEdit, L"tooltip.spacing"},
    {&PanelControls::fingersWidthCombo, L"tooltip.fingersWidth"},
    {&PanelControls::fingersDepthCombo, L"tooltip.fingersDepth"},
    {&PanelControls::fingersHeightCombo, L"tooltip.fingersHeight"},
    {&PanelControls::internalDimensionsBox, L"tooltip.internalDimensions"},
    {&PanelControls::addLidBox, L"tooltip.addLid"},
    {&PanelControls::cncRouterModeBox, L"tooltip.cncRouterMode"},
    {&PanelControls::toolDiameterLabel, L"tooltip.toolDiameter"},
    {&PanelControls::toolDiameterCombo, L"tooltip.toolDiameter"},
    {&PanelControls::preview3dBox, L"tooltip.preview3d", Toggle3dCommandId},
    {&PanelControls::fitViewButton, L"tooltip.fitView", FitViewButtonId},
    {&PanelControls::exportButton, L"tooltip.exportDxf", ExportDxfButtonId},
    {&PanelControls::saveButton, L"tooltip.save", SaveButtonId},
    {&PanelControls::loadButton, L"tooltip.load", LoadButtonId},
    {&PanelControls::updateButton, L"tooltip.update", UpdateButtonId},
    {&PanelControls::renderEngineCombo, L"tooltip.renderEngine"},
    {&PanelControls::resetButton, L"tooltip.reset"},
    {&PanelControls::websiteButton, L"tooltip.website"},
    {&PanelControls::widthDividersCombo, L"tooltip.widthDividers"},
    {&PanelControls::depthDividersCombo, L"tooltip.depthDividers"},
    {&PanelControls::dividerBaseSlotsBox, L"tooltip.dividerBaseSlots"},
    {&PanelControls::serverAddressEdit, L"tooltip.serverAddress"},
};

const KeyedControl valueLabels[] = {
    {&PanelControls::widthLabel, L"label.width"},         {&PanelControls::heightLabel, L"label.height"},
    {&PanelControls::depthLabel, L"label.depth"},         {&PanelControls::thicknessLabel, L"label.thickness"},
    {&PanelControls::kerfLabel, L"label.kerf"},           {&PanelControls::clearanceLabel, L"label.clearance"},
    {&PanelControls::spacingLabel, L"label.spacing"},     {&PanelControls::toolDiameterLabel, L"label.toolDiameter"},
};

// Presets offered by the editable combos; any other number may be typed.
const std::vector<std::wstring> thicknessPresetsMm = {L"1.5", L"2", L"2.5", L"3", L"4", L"4.5",
                                                       L"5",   L"6", L"9",   L"12", L"15", L"18"};
const std::vector<std::wstring> thicknessPresetsIn = {L"0.0625", L"0.080", L"0.0938", L"0.118", L"0.125", L"0.157",
                                                       L"0.177",  L"0.236", L"0.25",   L"0.354", L"0.5",   L"0.709"};
const std::vector<std::wstring> toolPresetsMm = {L"1", L"1.5", L"2", L"3", L"3.175", L"4", L"6", L"6.35", L"8"};
const std::vector<std::wstring> toolPresetsIn = {L"0.0313", L"0.0394", L"0.0625", L"0.0787", L"0.118",
                                                  L"0.125",  L"0.157",  L"0.236",  L"0.25"};

constexpr int32_t kMaxFingers = 10;
constexpr int32_t kListedDividers = 10;  // more may be typed

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
int32_t layoutHeight(const ControlRow& row) {
    switch (row.kind) {
    case ControlKind::Edit:
    case ControlKind::ListCombo:
    case ControlKind::EditableCombo: return 22;
    case ControlKind::CheckBox: return 20;
    default: return row.height;
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

    for (const ControlRow& row : controlRows) {
        const KindStyle kind = styleOf(row.kind);
        const wchar_t* initial = row.initialText ? row.initialText : L"";
        HWND control = CreateWindowExW(kind.extendedStyle, kind.className, initial, kind.style, row.x, row.y,
                                       row.width, row.height, mainWindow_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(row.id)), instance_, nullptr);
        if (row.field) panel_.*row.field = control;
        if (!control) continue;

        layoutEntries_.push_back({control, PixelRect{row.x, row.y, row.width, row.height}, fontOf(row.kind)});
        panelContentHeight_ = std::max(panelContentHeight_, row.y + layoutHeight(row) + kPanelBottomMargin);
        if (row.key) textBindings_.push_back({control, row.key, L""});

        switch (row.fill) {
        case RowFill::None: break;
        case RowFill::Languages: refillLanguageCombo(); break;
        case RowFill::Units: refillUnitsCombo(); break;
        case RowFill::Engines: refillRenderCombo(); break;
        case RowFill::ThicknessPresets: fillCombo(control, thicknessPresetsMm, L"3"); break;
        case RowFill::ToolPresets: fillCombo(control, toolPresetsMm, L"3.175"); break;
        case RowFill::Fingers: fillCounts(control, 1, kMaxFingers, row.count); break;
        case RowFill::Dividers: fillCounts(control, 0, kListedDividers, row.count); break;
        }
    }

    // layoutControls gives these three their places for the client size.
    panelScrollBar_ = CreateWindowExW(0, L"SCROLLBAR", nullptr, WS_CHILD | WS_VISIBLE | SBS_VERT, 0, 0, 0, 0,
                                     mainWindow_, nullptr, instance_, nullptr);
    previewWindow_ = CreateWindowExW(WS_EX_CLIENTEDGE, PREVIEW_WINDOW_CLASS, nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
                                    0, 0, 0, 0, mainWindow_, nullptr, instance_, this);
    statusLine_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"STATIC", text(L"status.ready").c_str(), WS_CHILD | WS_VISIBLE, 0, 0,
                                 0, 0, mainWindow_, nullptr, instance_, nullptr);
    applyFonts();

    refreshValueLabels();
    applyTexts();
    for (const KeyedControl& tooltip : tooltips) addTooltip(panel_.*tooltip.field, tooltip.key, tooltip.command);

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

void Application::fillCombo(HWND combo, const std::vector<std::wstring>& items, const std::wstring& shownText) {
    if (!combo) return;
    setComboItems(combo, items);
    SetWindowTextW(combo, shownText.c_str());
}

void Application::refreshValueLabels() {
    const std::wstring unit = useInches_ ? L" in" : L" mm";
    for (const KeyedControl& label : valueLabels) {
        if (HWND control = panel_.*label.field) SetWindowTextW(control, (text(label.key) + unit).c_str());
    }
}

void Application::refillPresetLists() {
    if (!panel_.thicknessCombo || !panel_.toolDiameterCombo) return;
    const std::wstring thickness = windowText(panel_.thicknessCombo, 127);
    const std::wstring tool = windowText(panel_.toolDiameterCombo, 127);
    fillCombo(panel_.thicknessCombo, useInches_ ? thicknessPresetsIn : thicknessPresetsMm,
              !thickness.empty() ? thickness : (useInches_ ? L"0.118" : L"3"));
    fillCombo(panel_.toolDiameterCombo, useInches_ ? toolPresetsIn : toolPresetsMm,
              !tool.empty() ? tool : (useInches_ ? L"0.125" : L"3.175"));
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
    refreshValueLabels();
    refreshUpdateNotice();
    if (statusLine_ && GetWindowTextLengthW(statusLine_) == 0) setStatus(text(L"status.ready"));
}
