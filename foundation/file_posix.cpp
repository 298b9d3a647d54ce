#include "file.h"

#include <cerrno>
#include <climits>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "path_walk.h"

namespace {

constexpr size_t kMaxPath = 260;  // the same limit as on Windows

// A descriptor, or -1 with errno set. POSIX lets a folder be opened for reading
// and Windows does not; a File never holds one, on either platform.
int openFile(const char* path, int flags) {
    int fd = ::open(path ? path : "", flags | O_CLOEXEC, 0644);
    struct stat st;
    if (fd >= 0 && fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        errno = EISDIR;
        return -1;
    }
    return fd;
}

}  // namespace

File::~File() { close(); }

bool File::isOpen() const { return handle_ >= 0; }

bool File::open(const char* path, int mode) {
    close();
    int flags;
    switch (mode) {
    case Read: flags = O_RDONLY; break;
    case ReadWrite: flags = O_RDWR; break;
    case Write: flags = O_WRONLY; break;
    case CreateWrite: flags = O_WRONLY | O_CREAT | O_TRUNC; break;
    default: return false;
    }
    handle_ = openFile(path, flags);
    return handle_ >= 0;
}

bool File::create(const char* path) {
    close();
    handle_ = openFile(path, O_RDWR | O_CREAT | O_TRUNC);
    return handle_ >= 0;
}

void File::close() {
    if (isOpen()) {
        ::close(static_cast<int>(handle_));
        handle_ = -1;
    }
}

bool File::size(uint32_t* size) {
    struct stat st;
    bool ok = isOpen() && fstat(static_cast<int>(handle_), &st) == 0;
    uint32_t low = ok ? static_cast<uint32_t>(st.st_size) : 0;
    ok = ok && low != 0xFFFFFFFFu;  // the Windows "invalid size" answer
    if (size)
        *size = ok ? low : 0;
    return ok;
}

bool File::read(void* buffer, uint32_t count, uint32_t* bytesRead) {
    uint32_t got = 0;
    if (isOpen()) {
        while (got < count) {
            ssize_t n = ::read(static_cast<int>(handle_), static_cast<char*>(buffer) + got, count - got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            got += static_cast<uint32_t>(n);
        }
    }
    if (bytesRead)
        *bytesRead = got;
    return isOpen() && got == count;
}

bool File::write(const void* buffer, uint32_t count, uint32_t* bytesWritten) {
    uint32_t done = 0;
    if (isOpen()) {
        while (done < count) {
            ssize_t n = ::write(static_cast<int>(handle_), static_cast<const char*>(buffer) + done, count - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                break;
            done += static_cast<uint32_t>(n);
        }
    }
    if (bytesWritten)
        *bytesWritten = done;
    return isOpen() && done == count;
}

bool File::seek(int32_t distance, int origin) {
    static const int whence[] = {SEEK_SET, SEEK_CUR, SEEK_END};
    if (!isOpen() || origin < 0 || origin > 2)
        return false;
    off_t pos = lseek(static_cast<int>(handle_), distance, whence[origin]);
    return pos >= 0 && pos < static_cast<off_t>(0xFFFFFFFFu);
}

bool fileExists(const char* path) {
    struct stat st;
    return stat(path ? path : "", &st) == 0;
}

bool deleteFile(const char* path) { return unlink(path ? path : "") == 0; }

bool removeDirectory(const char* path) { return rmdir(path ? path : "") == 0; }

bool createPath(const char* path) {
    if (!path)
        path = "";
    if (std::strlen(path) >= kMaxPath) {
        errno = ENAMETOOLONG;
        return false;
    }
    return detail::walkCreatePath(path, [](const std::string& folder) { return mkdir(folder.c_str(), 0755) == 0; });
}

bool lastErrorIsAlreadyExists() { return errno == EEXIST; }
