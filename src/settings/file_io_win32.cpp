#include "settings/file_io.h"

#include "settings/file_io_internal.h"
#include "settings/text_encoding.h"

#include <windows.h>

#include <new>

namespace {

// Closes a file handle when it goes out of scope.
struct FileHandle {
    HANDLE handle = INVALID_HANDLE_VALUE;
    ~FileHandle() { close(); }
    bool close() {
        const bool ok = handle == INVALID_HANDLE_VALUE || CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        return ok;
    }
};

constexpr DWORD kChunk = 1u << 20;  // ReadFile and WriteFile take 32-bit sizes

bool writeAll(HANDLE file, const char* data, size_t size) {
    while (size > 0) {
        const DWORD part = size < kChunk ? static_cast<DWORD>(size) : kChunk;
        DWORD written = 0;
        if (!WriteFile(file, data, part, &written, nullptr) || written != part) return false;
        data += written;
        size -= written;
    }
    return true;
}

}  // namespace

std::FILE* openFile(const std::wstring& path, const char* mode) {
    return _wfopen(path.c_str(), widenBytes(mode).c_str());
}

bool readFileBytesUpTo(const std::wstring& path, std::string& bytes, size_t maxBytes, ReadFailure* why) {
    ReadFailure ignored;
    ReadFailure& failure = why ? *why : ignored;
    failure = ReadFailure::Open;
    FileHandle file{CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)};
    LARGE_INTEGER size{};
    if (file.handle == INVALID_HANDLE_VALUE) return false;
    failure = ReadFailure::Size;
    if (!GetFileSizeEx(file.handle, &size) || size.QuadPart < 0) return false;
    failure = ReadFailure::TooLarge;
    if (static_cast<unsigned long long>(size.QuadPart) > maxBytes) return false;
    failure = ReadFailure::Read;
    try {
        std::string content(static_cast<size_t>(size.QuadPart), '\0');
        size_t done = 0;
        while (done < content.size()) {
            const size_t left = content.size() - done;
            const DWORD part = left < kChunk ? static_cast<DWORD>(left) : kChunk;
            DWORD got = 0;
            if (!ReadFile(file.handle, content.data() + done, part, &got, nullptr) || got == 0) return false;
            done += got;
        }
        bytes = std::move(content);
        failure = ReadFailure::None;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool writeFileReplacing(const std::wstring& path, const std::string& bytes) {
    std::wstring temporary;
    FileHandle file;
    for (int attempt = 0; attempt < 8 && file.handle == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = temporaryPathFor(path);
        file.handle = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                  FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file.handle == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) return false;
    }
    if (file.handle == INVALID_HANDLE_VALUE) return false;
    const size_t allowed = bytesAllowedToWrite(bytes.size());
    bool ok = writeAll(file.handle, bytes.data(), allowed) && allowed == bytes.size() && FlushFileBuffers(file.handle);
    ok = file.close() && ok;
    if (ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return true;
    DeleteFileW(temporary.c_str());
    return false;
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) { return folder + L"\\" + name; }

std::wstring moduleFolder() {
    wchar_t buffer[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
    if (length == 0) return L".";
    const std::wstring folder = parentPath(std::wstring(buffer, length));
    return folder.empty() ? L"." : folder;
}
