#pragma once
// Pieces of writeFileReplacing shared by the platform implementations.
#include <string>

// A fresh name for a temporary file in the same folder as path.
std::wstring temporaryPathFor(const std::wstring& path);

// How many of `requested` bytes a write may store: all of them (kept in a file of its own so that a
// test program can link its own, which fails as a full disk would).
size_t bytesAllowedToWrite(size_t requested);
