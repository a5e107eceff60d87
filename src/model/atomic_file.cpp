#include "model/atomic_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace tarvelo {
namespace {

// Writes all of `bytes`, resuming after interrupted or short writes.
bool WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes, std::string& error) {
    // The temporary file lives in the target's folder so that the rename stays on one file
    // system and is therefore atomic.
    std::string temp = path + ".tmp-XXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) {
        error = path + ": não foi possível criar o arquivo (" + std::strerror(errno) + ")";
        return false;
    }
    // mkstemp creates the file readable by its owner only; a saved file is an ordinary one.
    bool ok = WriteAll(fd, bytes) && ::fchmod(fd, 0644) == 0 && ::fsync(fd) == 0;
    int failure = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        failure = errno;
    }
    if (ok && std::rename(temp.c_str(), path.c_str()) == 0) return true;
    if (ok) failure = errno;
    std::remove(temp.c_str());
    error = path + ": não foi possível gravar o arquivo (" + std::strerror(failure) +
            "); o arquivo anterior não foi alterado";
    return false;
}

}  // namespace tarvelo
