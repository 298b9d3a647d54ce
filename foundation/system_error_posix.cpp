#include "errors.h"

#include <cerrno>

uint32_t lastSystemError() { return static_cast<uint32_t>(errno); }
