#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "settings/number_text.h"
#include "settings/text_encoding.h"

#include <algorithm>
#include <array>
#include <exception>

namespace {

using A = Application;

// A length field of the panel with its place in both records (millimetres).
struct LengthField {
    HWND Application::*control;
    double BoxParameters::*design;
    double AppSettings::*stored;
};

const std::array<LengthField, 8> lengthFields = {{
    {&A::widthEdit, &BoxParameters::inputWidth, &AppSettings::widthMm},
    {&A::heightEdit, &BoxParameters::inputHeight, &AppSettings::heightMm},
    {&A::depthEdit, &BoxParameters::inputDepth, &AppSettings::depthMm},
    {&A::thicknessCombo, &BoxParameters::materialThickness, &AppSettings::thicknessMm},
    {&A::kerfEdit, &BoxParameters::kerf, &AppSettings::kerfMm},
    {&A::clearanceEdit, &BoxParameters::clearance, &AppSettings::clearanceMm},
    {&A::spacingEdit, &BoxParameters::spacing, &AppSettings::spacingMm},
    {&A::toolDiameterCombo, &BoxParameters::toolDiameter, &AppSettings::toolDiameterMm},
}};

struct CountField {
    HWND Application::*combo;
    int32_t BoxParameters::*design;
    int32_t AppSettings::*stored;
};

const std::array<CountField, 3> countFields = {{
    {&A::fingersWidthCombo, &BoxParameters::fingerCountWidth, &AppSettings::fingerWidth},
    {&A::fingersDepthCombo, &BoxParameters::fingerCountDepth, &AppSettings::fingerDepth},
    {&A::fingersHeightCombo, &BoxParameters::fingerCountHeight, &AppSettings::fingerHeight},
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
                             .value_or(useInches ? defaultMm / kMillimetresPerInch : defaultMm);
    return useInches ? shown * kMillimetresPerInch : shown;
}

void Application::writeNumber(HWND control, double valueMm) {
    if (!control) return;
    const double shown = useInches ? valueMm / kMillimetresPerInch : valueMm;
    SetWindowTextW(control, widenBytes(formatTrimmedFixed(shown, 4, NegativeZero::AsZero)).c_str());
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
        design.*field.design = readNumber(this->*field.control, defaultDesign.*field.design);
    }
    for (const CountField& field : countFields) {
        design.*field.design = readCount(this->*field.combo, defaultDesign.*field.design);
    }
    design.dimensionMode = isChecked(internalDimensionsBox) ? DimensionMode::Internal : DimensionMode::External;
    design.includeLid = isChecked(addLidBox);
    design.cutMode = isChecked(cncRouterModeBox) ? CutMode::CncRouter : CutMode::Laser;
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
    const std::wstring shown = view.show3D ? L"3D / motor " + text(engineKey(view.renderMode)) : L"2D";
    return text(L"status.pieces") + L": " + std::to_wstring(pieces.size()) + L" | " + text(L"status.units") + L" " +
           (useInches ? L"in" : L"mm") + L" | " + text(L"status.dxfLocal") + L" | " + text(L"status.preview") + L" " +
           shown + L" | " + text(L"status.doubleBuffer");
}

void Application::regenerate() {
    BoxParameters design;
    std::wstring error;
    if (!tryReadParameters(design, error)) {
        setStatus(text(L"status.invalidParameters") + error);
    } else {
        try {
            PieceSet generated = generatePieces(design);
            pieces = std::move(generated);
            parameters = design;
            setStatus(statusSummary());
        } catch (const std::exception& failure) {
            setStatus(text(L"status.parameterError") + widenBytes(failure.what()));
        }
    }
    if (previewWindow) InvalidateRect(previewWindow, nullptr, FALSE);
}

void Application::markChanged() {
    if (!changeTrackingEnabled || !mainWindow) return;
    // Each edit postpones the regeneration until the typing pauses.
    KillTimer(mainWindow, REGENERATE_TIMER);
    SetTimer(mainWindow, REGENERATE_TIMER, REGENERATE_DELAY_MS, nullptr);
    setStatus(text(L"status.changesDetected"));
}

void Application::changeUnits() {
    const bool inches = unitsCombo && SendMessageW(unitsCombo, CB_GETCURSEL, 0, 0) == 1;
    if (inches == useInches) return;
    const bool tracking = changeTrackingEnabled;
    changeTrackingEnabled = false;
    std::array<double, lengthFields.size()> valuesMm{};
    for (size_t i = 0; i < lengthFields.size(); ++i) {
        valuesMm[i] = readNumber(this->*lengthFields[i].control, defaultDesign.*lengthFields[i].design);
    }
    useInches = inches;
    refreshValueLabels();
    for (size_t i = 0; i < lengthFields.size(); ++i) writeNumber(this->*lengthFields[i].control, valuesMm[i]);
    refillPresetLists();
    refillUnitsCombo();
    changeTrackingEnabled = tracking;
    saveSettingsFromControls();
    regenerate();
    setStatus(text(inches ? L"status.unitsInches" : L"status.unitsMillimeters"));
}

void Application::applySettingsToControls(const AppSettings& settings) {
    currentLanguage = settings.language.empty() ? std::wstring(L"es") : settings.language;
    languages.applyLanguage(currentLanguage);
    currentLanguage = languages.currentCode();
    useInches = settings.units == L"in";
    applyTexts();
    refillUnitsCombo();
    refreshValueLabels();
    refillPresetLists();
    for (const LengthField& field : lengthFields) writeNumber(this->*field.control, settings.*field.stored);
    for (const CountField& field : countFields) selectOrSetInteger(this->*field.combo, settings.*field.stored);
    setChecked(internalDimensionsBox, settings.internalDimensions);
    setChecked(addLidBox, settings.includeLid);
    setChecked(cncRouterModeBox, settings.cncRouterMode);
    view.show3D = settings.preview3d;
    view.renderMode = renderModeFromIndex(settings.render3dMode);
    setChecked(preview3dBox, view.show3D);
    setChecked(checkUpdatesBox, settings.checkUpdatesOnStart);
    refillRenderCombo();
}

AppSettings Application::readSettingsFromControls() const {
    // Fields the panel has no control for (server address, slots) keep their defaults.
    AppSettings settings;
    settings.preview3d = view.show3D;
    settings.render3dMode = static_cast<int32_t>(view.renderMode);
    settings.units = useInches ? L"in" : L"mm";
    settings.language = currentLanguage.empty() ? languages.currentCode() : currentLanguage;
    settings.checkUpdatesOnStart = isChecked(checkUpdatesBox);
    for (const LengthField& field : lengthFields) {
        settings.*field.stored = readNumber(this->*field.control, defaultDesign.*field.design);
    }
    for (const CountField& field : countFields) {
        settings.*field.stored = readCount(this->*field.combo, defaultDesign.*field.design);
    }
    settings.internalDimensions = isChecked(internalDimensionsBox);
    settings.includeLid = isChecked(addLidBox);
    settings.cncRouterMode = isChecked(cncRouterModeBox);
    return settings;
}

void Application::saveSettingsFromControls() { saveSettings(readSettingsFromControls()); }

void Application::applyParametersToControls(const BoxParameters& design) {
    for (const LengthField& field : lengthFields) writeNumber(this->*field.control, design.*field.design);
    for (const CountField& field : countFields) {
        selectOrSetInteger(this->*field.combo, std::clamp(design.*field.design, 1, 10));
    }
    setChecked(internalDimensionsBox, design.dimensionMode == DimensionMode::Internal);
    setChecked(addLidBox, design.includeLid);
    setChecked(cncRouterModeBox, design.cutMode == CutMode::CncRouter);
    refreshValueLabels();
    refillPresetLists();
}
