#pragma once
// Writes setup.zip from the payload: every entry deflated at the highest
// compression, stamped with its file's modification time as a DOS date and time
// in the build machine's local time (the TZ environment variable applies, as
// for every program that asks the C library for local time), in the given order
// and with no extra fields, so that the same files with the same times give the
// same bytes.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "product_folder.h"

// Called after each entry was written: done counts the entries so far.
using ZipProgress = std::function<void(size_t done, const PayloadFile& file)>;

// Creates or replaces outPath. False, with a one-line reason in *error, when an
// entry cannot be read or the archive cannot be written; the caller removes
// what was written.
bool writeSetupZip(const std::vector<PayloadFile>& entries, const std::string& outPath,
                   std::string* error, const ZipProgress& progress = nullptr);

// The DOS date (high 16 bits) and time (low 16 bits) of a moment, in local
// time. Moments before 1980 take the first DOS moment, 1 January 1980 0:00:00,
// and those after 2107 the last, 31 December 2107 23:59:58; odd seconds are
// rounded down.
uint32_t dosStampOf(int64_t secondsSince1970);
