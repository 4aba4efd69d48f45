// Whole files in and out, with failures a user can act on: every message names
// the file and the system's reason ("Cannot open file a.dfm: No such file or
// directory"), so a program reports it as one line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace ld {

// The system's text for an error number, as strerror gives it.
std::string SysErrorMessage(int code);

// More than any file the class library reads whole; a larger one (or a device
// that never ends) is refused rather than read until memory runs out.
constexpr size_t MaxFileBytes = size_t(1) << 30;

// The whole content of a file. EFOpenError "Cannot open file %s: %s" when it
// cannot be opened or is a folder; EInOutError "Cannot read file %s: %s" when
// reading fails or the file holds more than MaxBytes.
std::string ReadFileBytes(const std::string& fileName, size_t maxBytes = MaxFileBytes);
// The first Count bytes of a file (all of it when it is shorter); the same errors.
std::string ReadFileHead(const std::string& fileName, size_t count);

// Makes Data the whole content of FileName: it is written to a new file in the
// same folder, which then takes FileName's place, so that a failure leaves an
// existing file whole and nobody sees half a file. A replaced file keeps its
// permissions; a symbolic link is written through. EFCreateError "Cannot create
// file %s: %s" when the folder takes no new file (or FileName is a folder);
// EInOutError "Cannot write file %s: %s" when writing or replacing fails.
void WriteFileAtomically(const std::string& fileName, std::string_view data);

} // namespace ld
