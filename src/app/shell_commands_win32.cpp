#include "app/application_win32.h"
#include "app/control_access_win32.h"
#include "app/product_info.h"
#include "output/cut_files.h"
#include "output/fit_test.h"
#include "settings/text_encoding.h"
#include "output/project_file.h"
#include "output/server_export.h"
#include "settings/file_io.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace {

// A file dialog: the filter is text and pattern pairs, each ended by a null, the list by another.
struct FileDialogKind {
    bool save;
    const wchar_t* filter;
    const wchar_t* defaultExtension;
    DWORD flags;
};

constexpr DWORD kProjectSaveFlags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
constexpr DWORD kProjectLoadFlags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST;

// The cut file types of the export dialog, in its order. SVG is millimetres whatever the panel shows.
struct ExportType {
    const wchar_t* filterKey;
    const wchar_t* pattern;
    const wchar_t* extension;
    CutFileType file;
    const wchar_t* savedMmKey;
    const wchar_t* savedInchesKey;
};

const ExportType kExportTypes[] = {
    {L"file.dxfLinesFilter", L"*.dxf", L"dxf", CutFileType::DxfLines, L"status.dxfSavedMm", L"status.dxfSavedInches"},
    {L"file.dxfClosedFilter", L"*.dxf", L"dxf", CutFileType::DxfClosed, L"status.closedDxfSavedMm",
     L"status.closedDxfSavedInches"},
    {L"file.svgFilter", L"*.svg", L"svg", CutFileType::Svg, L"status.svgSaved", L"status.svgSaved"},
};
constexpr size_t kExportTypeCount = std::size(kExportTypes);

constexpr size_t kFileNameCharacters = 260;

// Shows the dialog starting from path (cut to the buffer) with the 1-based filter index; true with
// path and filterIndex replaced by the choice.
bool chooseFile(ModalUi& modalUi, HWND owner, const FileDialogKind& kind, std::wstring& path, DWORD& filterIndex) {
    std::array<wchar_t, kFileNameCharacters> buffer{};
    path.copy(buffer.data(), buffer.size() - 1);
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = kind.filter;
    dialog.nFilterIndex = filterIndex;
    dialog.lpstrFile = buffer.data();
    dialog.nMaxFile = static_cast<DWORD>(buffer.size());
    dialog.lpstrDefExt = kind.defaultExtension;
    dialog.Flags = kind.flags;
    const bool chosen = kind.save ? modalUi.getSaveFileName(dialog) : modalUi.getOpenFileName(dialog);
    if (!chosen) return false;
    buffer.back() = L'\0';
    path = buffer.data();
    filterIndex = dialog.nFilterIndex;
    return true;
}

bool chooseFile(ModalUi& modalUi, HWND owner, const FileDialogKind& kind, std::wstring& path) {
    DWORD onlyFilter = 1;
    return chooseFile(modalUi, owner, kind, path, onlyFilter);
}

// A name typed without an extension gets the chosen type's; one typed with any extension keeps it.
void addMissingExtension(std::wstring& path, const wchar_t* extension) {
    const size_t name = path.find_last_of(L"\\/");
    const size_t dot = path.find_last_of(L'.');
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot < name)) path += std::wstring(L".") + extension;
}

// False when an existing file cannot be opened for writing (held open without sharing, read-only)
// or its folder is missing; a file that does not exist yet is writable.
bool targetWritable(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_FILE_NOT_FOUND;
    CloseHandle(file);
    return true;
}

// Writes the cut file beside path and replaces path in one step, so a failed write never destroys an
// existing file. Empty on success, else the reason shown to the user.
std::wstring writeCutFile(const std::wstring& path, const std::string& bytes) {
    if (!targetWritable(path)) return L"No se pudo abrir el archivo para escritura. Puede estar en uso.";
    if (!writeFileReplacing(path, bytes)) return L"No se pudo guardar el DXF. Revise permisos o si el archivo esta abierto.";
    return {};
}

bool fileExists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring fileNameOf(const std::wstring& path) { return path.substr(path.find_last_of(L"\\/") + 1); }

// An earlier export's files past this set's last number, as long as they run on.
std::wstring leftoverFileNames(const std::wstring& chosen, size_t count) {
    std::wstring names;
    for (size_t number = count + 1; fileExists(sheetFileName(chosen, number, count)); ++number)
        names += L"\n" + fileNameOf(sheetFileName(chosen, number, count));
    return names;
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
    KillTimer(mainWindow_, REGENERATE_TIMER);
    regenerate();
    saveSettingsFromControls();
}

void Application::settlePendingEdit() {
    if (KillTimer(mainWindow_, REGENERATE_TIMER)) updateCommand();
}

void Application::undoCommand() { stepHistory(&DesignHistory::undo, L"status.undone"); }

void Application::redoCommand() { stepHistory(&DesignHistory::redo, L"status.redone"); }

void Application::stepHistory(std::optional<BoxParameters> (DesignHistory::*step)(), const wchar_t* doneKey) {
    settlePendingEdit();
    const std::optional<BoxParameters> design = (history_.*step)();
    if (!design) return;
    {
        TrackingPause filling(*this);
        applyParametersToControls(*design);
    }
    // The panel shows the design rounded: what it reads back becomes the current step.
    regenerate(HistoryStep::Rebase);
    saveSettingsFromControls();
    setStatus(text(doneKey));
}

void Application::toggle3DShortcut() {
    setChecked(panel_.preview3dBox, !isChecked(panel_.preview3dBox));
    toggle3DViewCommand();
}

void Application::exitCommand() {
    saveSettingsFromControls();
    DestroyWindow(mainWindow_);
}

void Application::exportDxfCommand() {
    BoxParameters design;
    if (!readDesignOrWarn(design)) return;
    // Pieces that are not the panel's design (a layout that refuses it) are never written.
    if (const std::wstring refused = regenerate(); !refused.empty()) {
        modalUi_.showMessage(mainWindow_, refused, text(L"dialog.invalidParameters"), MB_OK | MB_ICONWARNING);
        return;
    }
    if (pieces_.empty()) return;
    saveSettingsFromControls();
    exportCutFile(pieces_, L"caja", sheets_, design_.sheetSize);
}

void Application::testPieceCommand() {
    BoxParameters design;
    if (!readDesignOrWarn(design)) return;
    PieceSet test;
    try {
        test = fitTestPieces(design);
    } catch (const std::runtime_error& refusal) {
        const std::wstring reason = widenBytes(refusal.what());
        modalUi_.showMessage(mainWindow_, reason, text(L"dialog.testPiece"), MB_OK | MB_ICONWARNING);
        return;
    }
    exportCutFile(test, L"prueba");
}

void Application::exportCutFile(const PieceSet& pieces, const wchar_t* name, const std::vector<Sheet>& sheets,
                                SheetSize sheet) {
    std::wstring filter;
    for (const ExportType& type : kExportTypes) filter += text(type.filterKey) + L'\0' + type.pattern + L'\0';
    const ExportType* type = &kExportTypes[exportTypeIndex_];
    // The dialog would ask about the chosen name, which several sheets never write: they ask themselves.
    const DWORD overwrite = sheets.size() > 1 ? 0 : OFN_OVERWRITEPROMPT;
    const FileDialogKind dialog{true, filter.c_str(), type->extension, overwrite | OFN_PATHMUSTEXIST};
    std::wstring path = std::wstring(name) + L"." + type->extension;
    DWORD filterIndex = static_cast<DWORD>(exportTypeIndex_ + 1);
    while (chooseFile(modalUi_, mainWindow_, dialog, path, filterIndex)) {
        exportTypeIndex_ = std::clamp<size_t>(filterIndex, 1, kExportTypeCount) - 1;
        type = &kExportTypes[exportTypeIndex_];
        addMissingExtension(path, type->extension);
        const std::vector<CutFile> files = cutFiles(type->file, path, pieces, sheets, sheet, useInches_);
        std::wstring leftover;
        if (files.size() > 1 && !confirmSheetFiles(files, path, leftover)) continue;
        bool written = true;
        for (const CutFile& file : files) {
            const std::wstring error = writeCutFile(file.path, file.text);
            if (error.empty()) continue;
            if (files.size() > 1) {
                // The files before it stay written; the dialog does not come back over them.
                const std::wstring failed = text(L"status.sheetFileFailed") + L" " + fileNameOf(file.path) + L". " + error;
                setStatus(failed);
                modalUi_.showMessage(mainWindow_, failed, text(L"dialog.saveError"), MB_OK | MB_ICONWARNING);
                return;
            }
            modalUi_.showMessage(mainWindow_, error, text(L"dialog.saveError"), MB_OK | MB_ICONWARNING);
            written = false;
        }
        if (!written) continue;
        std::wstring saved = text(useInches_ ? type->savedInchesKey : type->savedMmKey);
        if (files.size() > 1) saved += L" " + std::to_wstring(files.size()) + L" " + text(L"status.sheetFiles");
        if (!leftover.empty()) saved += L" " + text(L"message.leftoverSheets") + L" " + leftover;
        setStatus(saved);
        return;
    }
}

bool Application::confirmSheetFiles(const std::vector<CutFile>& files, const std::wstring& chosen,
                                    std::wstring& leftover) {
    std::wstring existing;
    for (const CutFile& file : files)
        if (fileExists(file.path)) existing += L"\n" + fileNameOf(file.path);
    leftover = leftoverFileNames(chosen, files.size());
    if (existing.empty()) {
        for (wchar_t& c : leftover) c = c == L'\n' ? L' ' : c;
        return true;
    }
    std::wstring question = text(L"dialog.replaceSheets") + L"\n" + existing;
    if (!leftover.empty()) question += L"\n\n" + text(L"message.leftoverSheets") + leftover;
    leftover.clear();
    const int answer = modalUi_.showMessage(mainWindow_, question, text(L"button.exportDxf"),
                                            MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2);
    return answer == IDYES;
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
    std::wstring path = projectPath_.empty() ? L"caja.boxproj" : projectPath_;
    std::wstring error;
    const std::wstring filter = projectFilter();
    const FileDialogKind dialog{true, filter.c_str(), L"boxproj", kProjectSaveFlags};
    while (chooseFile(modalUi_, mainWindow_, dialog, path)) {
        if (saveProject(path, design, error)) {
            projectPath_ = path;
            refreshTitle();
            setStatus(text(L"status.projectSaved"));
            return;
        }
        modalUi_.showMessage(mainWindow_, error, text(L"dialog.saveProjectError"), MB_OK | MB_ICONWARNING);
    }
}

void Application::loadProjectCommand() {
    std::wstring path;
    const std::wstring filter = projectFilter();
    if (chooseFile(modalUi_, mainWindow_, {false, filter.c_str(), L"boxproj", kProjectLoadFlags}, path)) openProject(path);
}

std::wstring Application::projectFilter() const {
    std::wstring filter = text(L"file.projectFilter") + L'\0' + L"*.boxproj" + L'\0';
    return filter + text(L"file.allFilter") + L'\0' + L"*.*" + L'\0';
}

void Application::openProject(const std::wstring& path) {
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
    projectPath_ = path;
    refreshTitle();
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
        direct3dRefused_ = false;
        fitPreview();
        regenerate();
    }
    projectPath_.clear();
    refreshTitle();
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
    direct3dRefused_ = false;
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
