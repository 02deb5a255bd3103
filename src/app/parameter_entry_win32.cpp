#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/length_text.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <array>
#include <exception>

namespace {

using A = Application;

// A length field of the panel with its place in both records (millimetres).
struct LengthField {
    HWND PanelControls::*control;
    double BoxParameters::*design;
    double AppSettings::*stored;
};

const std::array<LengthField, 8> lengthFields = {{
    {&PanelControls::widthEdit, &BoxParameters::inputWidth, &AppSettings::widthMm},
    {&PanelControls::heightEdit, &BoxParameters::inputHeight, &AppSettings::heightMm},
    {&PanelControls::depthEdit, &BoxParameters::inputDepth, &AppSettings::depthMm},
    {&PanelControls::thicknessCombo, &BoxParameters::materialThickness, &AppSettings::thicknessMm},
    {&PanelControls::kerfEdit, &BoxParameters::kerf, &AppSettings::kerfMm},
    {&PanelControls::clearanceEdit, &BoxParameters::clearance, &AppSettings::clearanceMm},
    {&PanelControls::spacingEdit, &BoxParameters::spacing, &AppSettings::spacingMm},
    {&PanelControls::toolDiameterCombo, &BoxParameters::toolDiameter, &AppSettings::toolDiameterMm},
}};

// A whole-number field; a loaded design's count is shown held to low..high.
struct CountField {
    HWND PanelControls::*combo;
    int32_t BoxParameters::*design;
    int32_t AppSettings::*stored;
    int32_t low, high;
};

const std::array<CountField, 5> countFields = {{
    {&PanelControls::fingersWidthCombo, &BoxParameters::fingerCountWidth, &AppSettings::fingerWidth, 1, 10},
    {&PanelControls::fingersDepthCombo, &BoxParameters::fingerCountDepth, &AppSettings::fingerDepth, 1, 10},
    {&PanelControls::fingersHeightCombo, &BoxParameters::fingerCountHeight, &AppSettings::fingerHeight, 1, 10},
    {&PanelControls::widthDividersCombo, &BoxParameters::widthDividerCount, &AppSettings::widthDividers, 0, 100},
    {&PanelControls::depthDividersCombo, &BoxParameters::depthDividerCount, &AppSettings::depthDividers, 0, 100},
}};

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

BoxParameters Application::readParametersFromControls() const {
    BoxParameters design;
    for (const LengthField& field : lengthFields) {
        design.*field.design = readNumber(panel_.*field.control, defaultDesign.*field.design);
    }
    for (const CountField& field : countFields) {
        design.*field.design = readCount(panel_.*field.combo, defaultDesign.*field.design);
    }
    design.dimensionMode = isChecked(panel_.internalDimensionsBox) ? DimensionMode::Internal : DimensionMode::External;
    design.includeLid = isChecked(panel_.addLidBox);
    design.cutMode = isChecked(panel_.cncRouterModeBox) ? CutMode::CncRouter : CutMode::Laser;
    design.addDividerBaseSlots = isChecked(panel_.dividerBaseSlotsBox);
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

void Application::regenerate(HistoryStep step) {
    BoxParameters design;
    std::wstring error;
    if (!tryReadParameters(design, error)) {
        setStatus(text(L"status.invalidParameters") + error);
    } else {
        try {
            PieceSet generated = generatePieces(design);
            pieces_ = std::move(generated);
            design_ = design;
            if (step == HistoryStep::Record) {
                history_.record(design);
            } else {
                history_.rebase(design);
            }
            setStatus(statusSummary());
        } catch (const std::exception& failure) {
            setStatus(text(L"status.parameterError") + widenBytes(failure.what()));
        }
    }
    if (previewWindow_) InvalidateRect(previewWindow_, nullptr, FALSE);
}

void Application::markChanged() {
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
        std::array<double, lengthFields.size()> valuesMm{};
        for (size_t i = 0; i < lengthFields.size(); ++i) {
            valuesMm[i] = readNumber(panel_.*lengthFields[i].control, defaultDesign.*lengthFields[i].design);
        }
        useInches_ = inches;
        refreshValueLabels();
        for (size_t i = 0; i < lengthFields.size(); ++i) writeNumber(panel_.*lengthFields[i].control, valuesMm[i]);
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
    useInches_ = settings.units == L"in";
    applyTexts();
    refillUnitsCombo();
    refreshValueLabels();
    refillPresetLists();
    for (const LengthField& field : lengthFields) writeNumber(panel_.*field.control, settings.*field.stored);
    for (const CountField& field : countFields) selectOrSetInteger(panel_.*field.combo, settings.*field.stored);
    setChecked(panel_.internalDimensionsBox, settings.internalDimensions);
    setChecked(panel_.addLidBox, settings.includeLid);
    setChecked(panel_.cncRouterModeBox, settings.cncRouterMode);
    setChecked(panel_.dividerBaseSlotsBox, settings.dividerBaseSlots);
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
    for (const LengthField& field : lengthFields) {
        settings.*field.stored = readNumber(panel_.*field.control, defaultDesign.*field.design);
    }
    for (const CountField& field : countFields) {
        settings.*field.stored = readCount(panel_.*field.combo, defaultDesign.*field.design);
    }
    settings.internalDimensions = isChecked(panel_.internalDimensionsBox);
    settings.includeLid = isChecked(panel_.addLidBox);
    settings.cncRouterMode = isChecked(panel_.cncRouterModeBox);
    settings.dividerBaseSlots = isChecked(panel_.dividerBaseSlotsBox);
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
    for (const LengthField& field : lengthFields) writeNumber(panel_.*field.control, design.*field.design);
    for (const CountField& field : countFields) {
        selectOrSetInteger(panel_.*field.combo, std::clamp(design.*field.design, field.low, field.high));
    }
    setChecked(panel_.internalDimensionsBox, design.dimensionMode == DimensionMode::Internal);
    setChecked(panel_.addLidBox, design.includeLid);
    setChecked(panel_.cncRouterModeBox, design.cutMode == CutMode::CncRouter);
    setChecked(panel_.dividerBaseSlotsBox, design.addDividerBaseSlots);
    refreshValueLabels();
    refillPresetLists();
}
