#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/length_text.h"
#include "model/design_options.h"
#include "settings/number_text.h"
#include "settings/sheet_size_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <array>
#include <exception>

namespace {

// Field values used when the panel holds no number.
const BoxParameters defaultDesign{};

}  // namespace

const wchar_t* engineKey(RenderMode mode) {
    switch (mode) {
    case RenderMode::Gdi: return L"renderer.gdi";
    case RenderMode::Direct3D9: return L"renderer.d3d9";
    default: return L"renderer.auto";
    }
}

double Application::readNumber(HWND control, double defaultMm) const {
    const double shown = scanLeadingNumber(windowText(control, 127), Underflow::Zero)
                             .value_or(useInches_ ? defaultMm / kMillimetresPerInch : defaultMm);
    return useInches_ ? shown * kMillimetresPerInch : shown;
}

void Application::writeNumber(HWND control, double valueMm) {
    if (!control) return;
    SetWindowTextW(control, lengthText(valueMm, useInches_).c_str());
}

int32_t Application::readCount(HWND combo, int32_t defaultCount) const {
    return scanLeadingInteger(skipSpace(windowText(combo, 63)), Sign::Allowed).value_or(defaultCount);
}

void Application::selectOrSetInteger(HWND control, int32_t value) {
    if (!control) return;
    const std::wstring number = std::to_wstring(value);
    wchar_t className[32] = {};
    GetClassNameW(control, className, 32);
    if (lstrcmpiW(className, L"ComboBox") == 0 &&
        SendMessageW(control, CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(number.c_str())) !=
            CB_ERR) {
        return;
    }
    SetWindowTextW(control, number.c_str());
}

SheetSize Application::readSheetSize(HWND combo) const {
    const std::wstring shown = windowText(combo, 127);
    const auto length = static_cast<size_t>(std::max<LRESULT>(SendMessageW(combo, CB_GETLBTEXTLEN, 0, 0), 0));
    std::vector<wchar_t> first(length + 1, L'\0');  // the item and its terminating null
    if (length) SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(first.data()));
    const std::wstring noLimit(first.data());
    if (shown.find_first_not_of(L' ') == std::wstring::npos || lstrcmpiW(shown.c_str(), noLimit.c_str()) == 0) return {};
    // What cannot be read stays visible as a size the validation refuses, never as no limit.
    return parseSheetSize(shown, useInches_).value_or(SheetSize{-1, -1});
}

void Application::writeSheetSize(HWND combo, SheetSize size) {
    if (!combo) return;
    const auto presets = sheetPresets();
    const auto same = [&](const SheetPreset& preset) { return preset.size == size; };
    const auto preset = std::find_if(presets.begin(), presets.end(), same);
    if (!size.isSet() || preset != presets.end()) {
        const auto item = size.isSet() ? preset - presets.begin() + 1 : 0;
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(item), 0);
        return;
    }
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    SetWindowTextW(combo, sheetSizeText(size, useInches_).c_str());
}

void Application::readOption(const DesignOption& option, HWND control, BoxParameters& design) const {
    const double fallback = option.access.get(defaultDesign);
    switch (option.kind) {
    case OptionKind::Length: option.access.set(design, readNumber(control, fallback)); return;
    case OptionKind::Count: option.access.set(design, readCount(control, static_cast<int32_t>(fallback))); return;
    case OptionKind::Size: {
        const SheetSize size = readSheetSize(control);
        option.access.set(design, size.width);
        option.second.set(design, size.height);
        return;
    }
    case OptionKind::Flag:
    case OptionKind::Choice: option.access.set(design, isChecked(control) ? 1 : 0); return;
    }
}

void Application::writeOption(const DesignOption& option, HWND control, const BoxParameters& design) {
    const double value = option.access.get(design);
    switch (option.kind) {
    case OptionKind::Length: writeNumber(control, value); return;
    case OptionKind::Count: selectOrSetInteger(control, static_cast<int32_t>(value)); return;
    case OptionKind::Size: writeSheetSize(control, {value, option.second.get(design)}); return;
    case OptionKind::Flag:
    case OptionKind::Choice: setChecked(control, value != 0); return;
    }
}

BoxParameters Application::readParametersFromControls() const {
    BoxParameters design;
    const auto options = designOptions();
    for (size_t i = 0; i < panel_.options.size(); ++i) readOption(options[i], panel_.options[i], design);
    return design;
}

bool Application::tryReadParameters(BoxParameters& design, std::wstring& error) const {
    try {
        design = readParametersFromControls();
        validateParameters(design);
        error.clear();
        return true;
    } catch (const std::exception& failure) {
        error = widenBytes(failure.what());
        return false;
    }
}

std::wstring Application::statusSummary() const {
    const std::wstring shown = view_.show3D ? L"3D / motor " + text(engineKey(view_.renderMode)) : L"2D";
    return text(L"status.pieces") + L": " + std::to_wstring(pieces_.size()) + L" | " + text(L"status.units") + L" " +
           (useInches_ ? L"in" : L"mm") + L" | " + text(L"status.dxfLocal") + L" | " + text(L"status.preview") + L" " +
           shown + L" | " + text(L"status.doubleBuffer");
}

std::wstring Application::regenerate(HistoryStep step) {
    BoxParameters design;
    std::wstring error;
    if (!tryReadParameters(design, error)) {
        setStatus(text(L"status.invalidParameters") + error);
    } else {
        try {
            PieceSet generated = generatePieces(design);
            std::vector<Sheet> sheets = sheetsOf(design, generated);
            pieces_ = std::move(generated);
            sheets_ = std::move(sheets);
            design_ = design;
            refreshSheetView();
            if (step == HistoryStep::Record) {
                history_.record(design);
            } else {
                history_.rebase(design);
            }
            setStatus(statusSummary());
        } catch (const std::exception& failure) {
            error = widenBytes(failure.what());
            setStatus(text(L"status.parameterError") + error);
        }
    }
    if (previewWindow_) InvalidateRect(previewWindow_, nullptr, FALSE);
    return error;
}

void Application::refreshSheetView() {
    sheetView_ = sheetView(sheets_, design_.sheetSize, text(L"preview.sheet"), text(L"sheet.of"));
    if (!panel_.sheetResult) return;
    const std::wstring result =
        sheets_.empty() ? L"" : sheetCount() + L", " + std::to_wstring(usedPercent(sheets_)) + text(L"sheet.used");
    SetWindowTextW(panel_.sheetResult, result.c_str());
}

std::wstring Application::sheetCount() const {
    return std::to_wstring(sheets_.size()) + L" " + text(sheets_.size() == 1 ? L"sheet.one" : L"sheet.many");
}

void Application::markChanged() {
    enableLaserOnlyOptions();
    if (!changeTrackingEnabled_ || !mainWindow_) return;
    // Each edit postpones the regeneration until the typing pauses.
    KillTimer(mainWindow_, REGENERATE_TIMER);
    SetTimer(mainWindow_, REGENERATE_TIMER, REGENERATE_DELAY_MS, nullptr);
    setStatus(text(L"status.changesDetected"));
}

void Application::changeUnits() {
    const bool inches = panel_.unitsCombo && SendMessageW(panel_.unitsCombo, CB_GETCURSEL, 0, 0) == 1;
    if (inches == useInches_) return;
    settlePendingEdit();  // the conversion itself is no step
    {
        TrackingPause converting(*this);
        const BoxParameters shown = readParametersFromControls();
        useInches_ = inches;
        refreshValueLabels();
        const auto options = designOptions();
        for (size_t i = 0; i < panel_.options.size(); ++i) {
            const bool length = options[i].kind == OptionKind::Length || options[i].kind == OptionKind::Size;
            if (length) writeOption(options[i], panel_.options[i], shown);
        }
        refillPresetLists();
        refillUnitsCombo();
    }
    saveSettingsFromControls();
    regenerate(HistoryStep::Rebase);
    setStatus(text(inches ? L"status.unitsInches" : L"status.unitsMillimeters"));
}

void Application::applySettingsToControls(const AppSettings& settings) {
    currentLanguage_ = settings.language.empty() ? std::wstring(L"es") : settings.language;
    languages_.applyLanguage(currentLanguage_);
    currentLanguage_ = languages_.currentCode();
    useInches_ = unitsAreInches(settings);
    applyTexts();
    refillUnitsCombo();
    refreshValueLabels();
    refillPresetLists();
    const auto options = designOptions();
    for (size_t i = 0; i < panel_.options.size(); ++i) writeOption(options[i], panel_.options[i], settings.design);
    view_.show3D = settings.preview3d;
    view_.renderMode = renderModeFromIndex(settings.render3dMode);
    setChecked(panel_.preview3dBox, view_.show3D);
    setChecked(panel_.checkUpdatesBox, settings.checkUpdatesOnStart);
    refillRenderCombo();
}

AppSettings Application::readSettingsFromControls() const {
    // Fields the panel has no control for (server address, side and base slots) keep their defaults.
    AppSettings settings;
    settings.preview3d = view_.show3D;
    settings.render3dMode = static_cast<int32_t>(view_.renderMode);
    settings.units = useInches_ ? L"in" : L"mm";
    settings.language = currentLanguage_.empty() ? languages_.currentCode() : currentLanguage_;
    settings.checkUpdatesOnStart = isChecked(panel_.checkUpdatesBox);
    settings.design = readParametersFromControls();
    WINDOWPLACEMENT placement{};
    placement.length = sizeof placement;
    if (mainWindow_ && GetWindowPlacement(mainWindow_, &placement)) {
        const RECT& normal = placement.rcNormalPosition;
        settings.windowX = normal.left, settings.windowY = normal.top;
        settings.windowWidth = normal.right - normal.left, settings.windowHeight = normal.bottom - normal.top;
        settings.windowMaximized = placement.showCmd == SW_SHOWMAXIMIZED || (placement.flags & WPF_RESTORETOMAXIMIZED);
    }
    return settings;
}

void Application::saveSettingsFromControls() { saveSettings(readSettingsFromControls()); }

void Application::applyParametersToControls(const BoxParameters& design) {
    const auto options = designOptions();
    BoxParameters shown = design;
    for (size_t i = 0; i < panel_.options.size(); ++i) {
        const DesignOption& option = options[i];
        const double value = option.access.get(design);
        if (option.kind == OptionKind::Count)
            option.access.set(shown, std::clamp<double>(value, option.panel.listedLow, option.panel.shownHigh));
        writeOption(option, panel_.options[i], shown);
    }
    refreshValueLabels();
    refillPresetLists();
    enableLaserOnlyOptions();
}
