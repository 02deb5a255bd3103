#pragma once
// The zoom percentage line: a translated format text with the percentage put in.
#include <cstddef>
#include <cstdint>
#include <string>

// trunc(zoom * 100 + 0.5).
int32_t zoomPercent(double zoom);

// The format with every "%d" replaced by the percentage and "%%" by "%"; any other "%" is kept as
// typed, so a hostile language file cannot read or write memory. Cut to bufferChars - 1 characters,
// as a fixed buffer of bufferChars wide characters would hold.
std::wstring formatZoomHint(const std::wstring& format, int32_t percent, std::size_t bufferChars);
