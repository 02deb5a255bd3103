#pragma once
// File access shared by every writer of user files. Paths are wide strings.
#include <cstdio>
#include <string>

// fopen with a wide path (UTF-8 on Linux); nullptr on failure.
std::FILE* openFile(const std::wstring& path, const char* mode);

// Why a file was not read.
enum class ReadFailure { None, Open, Size, TooLarge, Read };

// Reads a whole file (read sharing on Windows); false when it cannot be opened, sized or read.
bool readFileBytes(const std::wstring& path, std::string& bytes);
// The same, but false without reading when the file holds more than maxBytes bytes; why (when
// given) says which step failed. A folder cannot be opened.
bool readFileBytesUpTo(const std::wstring& path, std::string& bytes, size_t maxBytes, ReadFailure* why = nullptr);

// Writes bytes to a temporary file beside path, flushes it and replaces path in one step.
// On any failure path is untouched, the temporary file is removed and false is returned.
bool writeFileReplacing(const std::wstring& path, const std::string& bytes);

// The executable's folder, cut before its last separator; "." when there is none.
std::wstring moduleFolder();

// folder, the platform's separator ("\" on Windows) and name.
std::wstring joinPath(const std::wstring& folder, const std::wstring& name);
// path cut before its last "\" or "/"; empty when it holds neither.
std::wstring parentPath(const std::wstring& path);
