#pragma once
// Hands the cut geometry to an HTTP DXF server and takes its DXF reply (Windows, WinINet).
#include "model/piece_set.h"

#include <string>

// POSTs buildServerRequestJson(pieces) to address and blocks until the reply. true: dxf holds the
// body of a 200 reply and error is empty; false: dxf is empty and error holds a fixed Spanish text.
bool requestServerDxf(const std::wstring& address, const PieceSet& pieces, std::string& dxf, std::wstring& error);
