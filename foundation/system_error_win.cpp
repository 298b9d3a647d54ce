#include "errors.h"

#include <windows.h>

uint32_t lastSystemError() { return GetLastError(); }
