#pragma once
// Resource identifiers of the package stub. Shared by selfextract.rc and the code.

#define IDD_EXTRACTOR 101
#define IDI_EXTRACTOR 103

// Controls of the unpacking dialog. The Cancel button is IDCANCEL (2).
#define IDC_PROGRESS_BAR 1000
#define IDC_STATUS 1001
