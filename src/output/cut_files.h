#pragma once
// The files one export writes: the plan in one file, or one file per sheet in that sheet's coordinates.
#include "model/sheet_layout.h"

#include <string>
#include <vector>

enum class CutFileType { DxfLines, DxfClosed, Svg };

struct CutFile {
    std::wstring path;
    std::string text;
};

// The name of sheet number (1-based) of count: the chosen name for a single sheet, else the number
// after a "-" before the extension ("caja.dxf", 2 -> "caja-2.dxf"; a name without one ends with it).
std::wstring sheetFileName(const std::wstring& chosen, size_t number, size_t count);

// The text of one file of the type; DXF in inches when asked (SVG is millimetres), SVG the page's
// size when one is given.
std::string cutFileText(CutFileType type, const PieceSet& pieces, bool inches, SheetSize page = {});

// The plan in the chosen file when there are no sheets; else each sheet in its own file, named by
// sheetFileName, an SVG as large as the sheet.
std::vector<CutFile> cutFiles(CutFileType type, const std::wstring& chosen, const PieceSet& plan,
                              const std::vector<Sheet>& sheets, SheetSize sheet, bool inches);
