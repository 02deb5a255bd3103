#include "output/cut_files.h"

#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/svg_writer.h"

std::wstring sheetFileName(const std::wstring& chosen, size_t number, size_t count) {
    if (count <= 1) return chosen;
    const size_t name = chosen.find_last_of(L"\\/");
    size_t dot = chosen.find_last_of(L'.');
    // A dot in a folder's name or one that starts the name ("folder/.dxf") marks no extension.
    if (dot == std::wstring::npos || (name != std::wstring::npos && dot <= name + 1) || dot == 0) dot = chosen.size();
    return chosen.substr(0, dot) + L"-" + std::to_wstring(number) + chosen.substr(dot);
}

std::string cutFileText(CutFileType type, const PieceSet& pieces, bool inches, SheetSize page) {
    switch (type) {
    case CutFileType::DxfLines: return buildDxf(pieces, inches);
    case CutFileType::DxfClosed: return buildClosedDxf(pieces, inches);
    case CutFileType::Svg: break;
    }
    return buildSvg(pieces, page);
}

std::vector<CutFile> cutFiles(CutFileType type, const std::wstring& chosen, const PieceSet& plan,
                              const std::vector<Sheet>& sheets, SheetSize sheet, bool inches) {
    if (sheets.empty()) return {{chosen, cutFileText(type, plan, inches)}};
    std::vector<CutFile> files;
    for (size_t i = 0; i < sheets.size(); ++i)
        files.push_back({sheetFileName(chosen, i + 1, sheets.size()), cutFileText(type, sheets[i].pieces, inches, sheet)});
    return files;
}
