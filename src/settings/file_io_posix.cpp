// File access for the native build; paths are converted to UTF-8.
#include "settings/file_io.h"

#include "settings/file_io_internal.h"
#include "settings/text_encoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <new>

namespace {

// Closes a descriptor when it goes out of scope.
struct Descriptor {
    int fd = -1;
    ~Descriptor() {
        if (fd >= 0) ::close(fd);
    }
};

bool writeAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        data += written;
        size -= static_cast<size_t>(written);
    }
    return true;
}

}  // namespace

std::FILE* openFile(const std::wstring& path, const char* mode) {
    return std::fopen(wideToUtf8(path).c_str(), mode);
}

bool readFileBytesUpTo(const std::wstring& path, std::string& bytes, size_t maxBytes, ReadFailure* why) {
    ReadFailure ignored;
    ReadFailure& failure = why ? *why : ignored;
    failure = ReadFailure::Open;
    Descriptor file{::open(wideToUtf8(path).c_str(), O_RDONLY | O_CLOEXEC)};
    struct stat info {};
    if (file.fd < 0) return false;
    failure = ReadFailure::Size;
    if (::fstat(file.fd, &info) != 0 || info.st_size < 0) return false;
    failure = S_ISDIR(info.st_mode) ? ReadFailure::Open : ReadFailure::TooLarge;
    if (S_ISDIR(info.st_mode) || static_cast<unsigned long long>(info.st_size) > maxBytes) return false;
    failure = ReadFailure::Read;
    try {
        std::string content(static_cast<size_t>(info.st_size), '\0');
        size_t done = 0;
        while (done < content.size()) {
            const ssize_t got = ::read(file.fd, content.data() + done, content.size() - done);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            done += static_cast<size_t>(got);
        }
        bytes = std::move(content);
        failure = ReadFailure::None;
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

bool writeFileReplacing(const std::wstring& path, const std::string& bytes) {
    const std::string target = wideToUtf8(path);
    std::string temporary;
    Descriptor file;
    for (int attempt = 0; attempt < 8 && file.fd < 0; ++attempt) {
        temporary = wideToUtf8(temporaryPathFor(path));
        file.fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (file.fd < 0 && errno != EEXIST) return false;
    }
    if (file.fd < 0) return false;
    const size_t allowed = bytesAllowedToWrite(bytes.size());
    bool ok = writeAll(file.fd, bytes.data(), allowed) && allowed == bytes.size() && ::fsync(file.fd) == 0;
    ok = ::close(file.fd) == 0 && ok;
    file.fd = -1;
    if (ok && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    ::unlink(temporary.c_str());
    return false;
}

std::wstring joinPath(const std::wstring& folder, const std::wstring& name) { return folder + L"/" + name; }

std::wstring moduleFolder() {
    char buffer[PATH_MAX];
    const ssize_t length = ::readlink("/proc/self/exe", buffer, sizeof buffer);
    if (length <= 0 || static_cast<size_t>(length) >= sizeof buffer) return L".";
    const std::wstring folder = parentPath(utf8ToWide(std::string(buffer, static_cast<size_t>(length))));
    return folder.empty() ? L"." : folder;
}
