#include "settings/file_io_internal.h"

size_t bytesAllowedToWrite(size_t requested) { return requested; }
