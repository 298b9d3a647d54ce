#include "errors.h"

#include <utility>

WinException::WinException(const char* message)
    : AppException(KindWin), code_(lastSystemError()), message_(message) {}

FileException::FileException(std::string fileName, int32_t code)
    : AppException(KindFile), fileName_(std::move(fileName)), code_(code) {}

const char* FileException::codeText(int32_t code) {
    static const char* const texts[] = {
        "No error occurred",
        "File not found",
        "Can not open file",
        "There was an error in read operation",
        "There was an error trying to set the file pointer",
        "The disk is full",
        "The end of file was reached",
    };
    if (code < 0 || code >= static_cast<int32_t>(sizeof texts / sizeof texts[0]))
        return "Unknown error";
    return texts[code];
}
