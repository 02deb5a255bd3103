#pragma once
// Faults tests inject at link time, each replacing a product default of one line: write_fault_seam.cpp
// that of settings/file_write_limit.cpp, direct3d_seam_win32.cpp that of
// preview/direct3d_create_win32.cpp. A test program lists the seams it uses among its own sources.
#include <cstddef>

// Until cleared, every file write stores at most this many bytes and then fails, as a full disk would.
void setWriteFault(size_t bytesBeforeFailure);
void clearWriteFault();

// While set, Direct3D 9 is missing, as on a machine without it.
void setDirect3DUnavailable(bool unavailable);
// How many times the program has asked for the Direct3D 9 object.
int direct3DCreations();
