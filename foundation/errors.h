#pragma once
// The exception family of the three programs. Everything is thrown and caught
// by value; each program catches only at the top of its entry point (and of each
// worker thread) and turns what it caught into one warning box.

#include <cstdint>
#include <string>

// The system's last error on the calling thread: GetLastError() on Windows,
// errno elsewhere. Exposed so that the portable core can record it too.
uint32_t lastSystemError();

class AppException {
public:
    // Concrete type, for handlers that dispatch on a number rather than on the
    // C++ type (the uninstaller's top level does). 2 is not used.
    enum Kind : int32_t { KindWin = 0, KindFile = 1, KindModel = 3 };

    int32_t kind() const { return kind_; }

protected:
    explicit AppException(int32_t kind) : kind_(kind) {}

private:
    int32_t kind_;
};

// A failed operating-system call. The error code is taken from the calling
// thread when the object is built, so throw it on the line after the failing
// call; a call that succeeded leaves whatever code the thread held (maybe 0).
class WinException : public AppException {
public:
    // message must be a static text: it is kept as a pointer, never copied.
    explicit WinException(const char* message);

    const char* message() const { return message_; }
    uint32_t code() const { return code_; }

private:
    uint32_t code_;
    const char* message_;
};

// A failed file operation on fileName (a bare name or a full path, whatever the
// failing operation used).
class FileException : public AppException {
public:
    enum Code : int32_t {
        NoError = 0,
        NotFound = 1,
        CannotOpen = 2,
        ReadError = 3,
        SeekError = 4,
        DiskFull = 5,
        EndOfFile = 6,
    };

    FileException(std::string fileName, int32_t code);

    const std::string& fileName() const { return fileName_; }
    int32_t code() const { return code_; }
    const char* codeText() const { return codeText(code_); }

    // The fixed text of a code; anything outside 0 to 6 is "Unknown error".
    static const char* codeText(int32_t code);

private:
    std::string fileName_;
    int32_t code_;
};

// A misuse of the uninstaller's document model: 1 when an operation starts while
// the model is notifying, 2 when an operation is finished that never began.
class ModelException : public AppException {
public:
    explicit ModelException(int32_t code) : AppException(KindModel), code_(code) {}

    const std::string& text() const { return text_; }  // always empty
    int32_t code() const { return code_; }

private:
    std::string text_;
    int32_t code_;
};
