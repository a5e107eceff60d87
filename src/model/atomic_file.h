// Every file the program writes goes through here: the bytes go to a temporary file in the
// target's folder, are flushed to the disk and only then renamed over the target. A write that
// fails half-way (a full disk, a size limit, a removed folder) leaves the previous file as it was.
#pragma once

#include <string>
#include <string_view>

namespace tarvelo {

// Writes `bytes` as the whole content of `path`. On failure returns false and sets `error` to a
// message in Portuguese that names the file; the previous file, if any, is untouched.
bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error);

}  // namespace tarvelo
