#pragma once
// Internal to window.cpp and dialog.cpp: the exception a framework procedure
// caught, kept for the thread until the framework's own code rethrows it.

#include <exception>

namespace detail {

// Keeps failure for rethrowPendingException(). When one is already kept, the
// new one goes to deferFailure (error_report.h): the first failure is the one
// the program reports.
void keepPendingException(std::exception_ptr failure);

}  // namespace detail
