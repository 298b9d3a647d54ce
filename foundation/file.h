#pragma once
// A thin, unbuffered file handle and the path helpers. Nothing here throws or
// shows anything: every operation answers true or false and leaves the system's
// last error (lastSystemError()) as the failing call set it, for callers that turn
// a failure into a FileException.
//
// Windows uses the ANSI Win32 file functions; the POSIX build (the portable core's
// tests and the native tools) keeps the same contract with '/' as separator.

#include <cstdint>
#include <string>
#include <type_traits>

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// directory + one separator (unless directory is empty or already ends in one)
// + name. Either part may be empty; nothing else is normalised.
std::string joinPath(const std::string& directory, const std::string& name);

class File {
public:
    enum Mode {
        Read = 0,         // existing file, read access
        ReadWrite = 1,    // existing file, read and write access
        Write = 2,        // existing file, write access
        CreateWrite = 3,  // created, or truncated if it exists; write access
    };
    enum Origin { FromBegin = 0, FromCurrent = 1, FromEnd = 2 };

    File() = default;
    virtual ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // Every open first closes what the object holds, even when the new open then
    // fails. Other readers may share the file; writers may not. A mode outside
    // 0 to 3 fails without touching the file system. A folder is never opened.
    bool open(const char* path, int mode);
    bool open(const char* directory, const char* name, int mode);  // joinPath
    // Read and write access, created or truncated.
    bool create(const char* path);
    void close();
    bool isOpen() const;

    // Sizes and positions are 32-bit: the high half is never asked for or given.
    bool size(uint32_t* size);
    // One read; true only when exactly count bytes came (a short read is a failed
    // read). bytesRead, when given, receives what did come (0 with no file open).
    bool read(void* buffer, uint32_t count, uint32_t* bytesRead);
    bool write(const void* buffer, uint32_t count, uint32_t* bytesWritten);
    // origin 0 to 2 (Origin); any other origin fails and leaves the position.
    bool seek(int32_t distance, int origin);

private:
    intptr_t handle_ = -1;  // INVALID_HANDLE_VALUE, or -1 for no descriptor
};

static_assert(!std::is_copy_constructible_v<File>, "File owns its handle");

// A null path counts as the empty text everywhere below and in File::open.

// True for an existing file or folder.
bool fileExists(const char* path);
bool deleteFile(const char* path);
// The folder must be empty.
bool removeDirectory(const char* path);

// Creates a folder and every missing parent. The answer is that of the last
// folder creation tried, so for a folder that already exists it is false with
// the last error "already exists" (ERROR_ALREADY_EXISTS, EEXIST); callers that
// only need the folder to be there accept that. UNC paths never try the server
// or share level. Paths of 260 characters or more are refused (false, with the
// last error "file name too long").
bool createPath(const char* path);

// The last error that createPath leaves for a folder that already exists.
bool lastErrorIsAlreadyExists();
