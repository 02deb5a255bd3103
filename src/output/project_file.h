#pragma once
// The .boxproj project file: one design as small JSON text. Errors are fixed Spanish texts.
#include "model/box_parameters.h"

#include <string>

// The file text: two-space indents, line feeds only, lengths in mm with six decimals.
std::string writeProjectJson(const BoxParameters& parameters);

// Validates a copy and writes the file in one replacing step; on failure the previous file at
// path stays as it was and error holds the reason (empty on success).
bool saveProject(const std::wstring& path, const BoxParameters& parameters, std::wstring& error);

// What a file that is no project is told with, wherever it is refused.
inline constexpr const wchar_t* kNotAProjectMessage = L"El archivo no parece ser un proyecto de Tessaro.";

// Reads and validates a design; result is written only on success; error is empty on success.
bool loadProject(const std::wstring& path, BoxParameters& result, std::wstring& error);
