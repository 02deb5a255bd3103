#include "preview/zoom_hint.h"

#include "preview/canvas.h"

int32_t zoomPercent(double zoom) { return truncToPixel(zoom * 100.0 + 0.5); }

std::wstring formatZoomHint(const std::wstring& format, int32_t percent, std::size_t bufferChars) {
    const std::size_t limit = bufferChars > 0 ? bufferChars - 1 : 0;
    const std::wstring number = std::to_wstring(percent);
    std::wstring text;
    for (std::size_t i = 0; i < format.size() && text.size() < limit; ++i) {
        if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'd') {
            text += number;
            ++i;
        } else if (format[i] == L'%' && i + 1 < format.size() && format[i + 1] == L'%') {
            text += L'%';
            ++i;
        } else {
            text += format[i];
        }
    }
    if (text.size() > limit) text.resize(limit);
    return text;
}
