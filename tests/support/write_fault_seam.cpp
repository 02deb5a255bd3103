#include "support/seams.h"

#include "settings/file_io_internal.h"

#include <optional>

namespace {
std::optional<size_t> writeFault;
}  // namespace

void setWriteFault(size_t bytesBeforeFailure) { writeFault = bytesBeforeFailure; }
void clearWriteFault() { writeFault.reset(); }

size_t bytesAllowedToWrite(size_t requested) { return writeFault && *writeFault < requested ? *writeFault : requested; }
