#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/product_info.h"
#include "output/dxf_writer.h"
#include "output/project_file.h"
#include "output/server_export.h"
#include "settings/file_io.h"

#include <array>

namespace {

// One of the three file dialogs; the filter texts are fixed, not translated.
struct FileDialogKind {
    bool save;
    const wchar_t* initialName;
    const wchar_t* filter;  // text and pattern pairs, each ended by a null, the list by another
    const wchar_t* defaultExtension;
    DWORD flags;
};

constexpr FileDialogKind kDxfExportDialog{true, L"caja.dxf", L"DXF (*.dxf)\0*.dxf\0Todos (*.*)\0*.*\0", L"dxf",
                                          OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
constexpr const wchar_t* kProjectFilter = L"Proyecto Tessaro (*.boxproj)\0*.boxproj\0Todos (*.*)\0*.*\0";
constexpr FileDialogKind kProjectSaveDialog{true, L"caja.boxproj", kProjectFilter, L"boxproj",
                                            OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
constexpr FileDialogKind kProjectLoadDialog{false, L"", kProjectFilter, L"boxproj",
                                            OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST};

constexpr size_t kFileNameCharacters = 260;

// Shows the dialog starting from path (cut to the buffer); true with path replaced by the choice.
bool chooseFile(ModalUi& modalUi_, HWND owner, const FileDialogKind& kind, std::wstring& path) {
    std::array<wchar_t, kFileNameCharacters> buffer{};
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = kind.defaultExtension;
    dialog.Flags = kind.flags;
    const bool chosen = kind.save ? modalUi_.getSaveFileName(dialog) : modalUi_.getOpenFileName(dialog);
    if (!chosen) return false;
    buffer.back() = L'\0';
    path = buffer.data();
    return true;
}

// False when an existing file cannot be opened for writing (held open without sharing, read-only)
// or its folder is missing; a file that does not exist yet is writable.
bool targetWritable(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

// Writes the DXF beside path and replaces path in one step, so a failed write never destroys an
// existing file. Empty on success, else the reason shown to the user.
std::wstring writeDxfFile(const std::wstring& path, const std::string& dxf) {
    if (!targetWritable(path)) return L"No se pudo abrir el archivo para escritura. Puede estar en uso.";
    if (!writeFileReplacing(path, dxf)) return L"No se pudo guardar el DXF. Revise permisos o si el archivo esta abierto.";
    return {};
}

const wchar_t* const kServerCaption = L"Servidor DXF";

}  // namespace

bool Application::readDesignOrWarn(BoxParameters& design) {
    std::wstring error;
    if (tryReadParameters(design, error)) return true;
    modalUi_.showMessage(mainWindow_, error, text(L"dialog.invalidParameters"), MB_OK | MB_ICONWARNING);
    return false;
}

void Application::updateCommand() {
    regenerate();
    saveSettingsFromControls();
}

void Application::exitCommand() {
    saveSettingsFromControls();
    DestroyWindow(mainWindow_);
}

void Application::exportDxfCommand() {
    BoxParameters design;
    if (!readDesignOrWarn(design)) return;
    regenerate();
    if (pieces_.empty()) return;
    saveSettingsFromControls();
    exportDxfLocal();
}

void Application::exportDxfLocal() {
    std::wstring path = kDxfExportDialog.initialName;
    while (chooseFile(modalUi_, mainWindow_, kDxfExportDialog, path)) {
        const std::wstring error = writeDxfFile(path, buildDxf(pieces_, useInches_));
        if (error.empty()) {
            setStatus(text(useInches_ ? L"status.dxfSavedInches" : L"status.dxfSavedMm"));
            return;
        }
        modalUi_.showMessage(mainWindow_, error, text(L"dialog.saveError"), MB_OK | MB_ICONWARNING);
    }
}

void Application::testServerCommand() {
    BoxParameters design;
    if (!readDesignOrWarn(design)) return;
    regenerate();
    const std::wstring address = windowText(panel_.serverAddressEdit, 2048);
    if (address.empty()) {
        modalUi_.showMessage(mainWindow_, L"La URL PHP esta vacia.", kServerCaption, MB_OK | MB_ICONWARNING);
        return;
    }
    setStatus(L"Probando servidor PHP...");
    std::string dxf;
    std::wstring error;
    if (!requestServerDxf(address, pieces_, dxf, error)) {
        modalUi_.showMessage(mainWindow_, error, kServerCaption, MB_OK | MB_ICONERROR);
        setStatus(L"Servidor PHP con error.");
        return;
    }
    const std::wstring answered = L"Servidor PHP OK. DXF recibido: " + std::to_wstring(dxf.size()) + L" bytes.";
    modalUi_.showMessage(mainWindow_, answered, kServerCaption, MB_OK | MB_ICONINFORMATION);
    setStatus(answered);
}

void Application::saveProjectCommand() {
    BoxParameters design;
    if (!readDesignOrWarn(design)) return;
    std::wstring path = kProjectSaveDialog.initialName;
    std::wstring error;
    while (chooseFile(modalUi_, mainWindow_, kProjectSaveDialog, path)) {
        if (saveProject(path, design, error)) {
            setStatus(text(L"status.projectSaved"));
            return;
        }
        modalUi_.showMessage(mainWindow_, error, text(L"dialog.saveProjectError"), MB_OK | MB_ICONWARNING);
    }
}

void Application::loadProjectCommand() {
    std::wstring path = kProjectLoadDialog.initialName;
    if (!chooseFile(modalUi_, mainWindow_, kProjectLoadDialog, path)) return;
    BoxParameters design;
    std::wstring error;
    if (!loadProject(path, design, error)) {
        modalUi_.showMessage(mainWindow_, error, text(L"dialog.loadProjectError"), MB_OK | MB_ICONWARNING);
        return;
    }
    {
        TrackingPause filling(*this);
        applyParametersToControls(design);
    }
    regenerate();
    saveSettingsFromControls();
    setStatus(text(L"status.projectLoaded"));
}

void Application::resetCommand() {
    const int answer = modalUi_.showMessage(mainWindow_, text(L"message.resetConfirm"), text(L"dialog.resetTitle"),
                                           MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    if (answer != IDYES) return;
    {
        TrackingPause filling(*this);
        const AppSettings factory;
        applySettingsToControls(factory);
        saveSettings(factory);
        // The factory view is 2D with the automatic engine: the old device has no use left.
        renderer_.releaseDevice();
        fitPreview();
        regenerate();
    }
    setStatus(text(L"status.settingsReset"));
}

void Application::toggle3DViewCommand() {
    view_.show3D = isChecked(panel_.preview3dBox);
    fitPreview();
    if (!view_.show3D) renderer_.releaseDevice();
    saveSettingsFromControls();
    setStatus(view_.show3D ? text(L"status.view3dActive.prefix") + text(engineKey(view_.renderMode)) +
                                text(L"status.view3dActive.suffix")
                          : text(L"status.view2dActive"));
}

void Application::renderEngineCommand() {
    const LRESULT index = panel_.renderEngineCombo ? SendMessageW(panel_.renderEngineCombo, CB_GETCURSEL, 0, 0) : CB_ERR;
    view_.renderMode = renderModeFromIndex(static_cast<int32_t>(index));
    renderer_.releaseDevice();
    saveSettingsFromControls();
    invalidatePreview();
    setStatus(text(L"status.renderEngineSelected") + text(engineKey(view_.renderMode)));
}

void Application::languageCommand() {
    if (!panel_.languageCombo) return;
    const LRESULT index = SendMessageW(panel_.languageCombo, CB_GETCURSEL, 0, 0);
    const auto& available = languages_.available();
    if (index < 0 || static_cast<size_t>(index) >= available.size()) return;
    currentLanguage_ = available[static_cast<size_t>(index)].code;
    languages_.applyLanguage(currentLanguage_);
    currentLanguage_ = languages_.currentCode();
    applyTexts();
    saveSettingsFromControls();
    regenerate();
    setStatus(text(L"status.languageChanged"));
}

void Application::openWebsiteCommand() {
    modalUi_.openInShell(mainWindow_, productPage_);
    setStatus(text(L"status.openingWebsite"));
}
