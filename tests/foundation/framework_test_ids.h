#pragma once
// Resource identifiers of the framework tests' dialog template, shared by
// framework_tests.rc and the tests.

#define IDD_FRAMEWORK_TEST 100
#define IDC_LABEL 1009
#define IDC_EDIT 1005
#define IDC_LIST 1017
#define IDC_CHECK 1020
#define IDC_NEXT 1003
