#pragma once
// Identifiers of the program's resources, shared by the resource script and the code.

#define IDI_TARNWICK 101
#define IDD_MAIN 102
#define IDD_ERROR 116
#define IDB_ERROR_MARK 1008

// String table: ids 103 to 114 sit in blocks 7 (96 to 111) and 8 (112 to 127).
#define IDS_INITIALIZING 103
#define IDS_DOWNLOADING 104
#define IDS_EXTRACTING 105
#define IDS_PROXY_CREDENTIALS 106
#define IDS_ABORTED 107
#define IDS_DOWNLOAD_BLOCKED 108
#define IDS_LAUNCH_BLOCKED 109
#define IDS_FETCHWELL_UPDATING 110
#define IDS_FETCHWELL_UPDATE_TITLE 111
#define IDS_DOWNLOAD_PROBLEM 112
#define IDS_TROUBLESHOOT 113
#define IDS_BROWSER_DOWNLOAD 114

// Main window (IDD_MAIN).
#define IDC_PROGRESS 1001
#define IDC_STATUS 1002
#define IDC_LABEL 1004
// Error window (IDD_ERROR).
#define IDC_ERROR_MESSAGE 1005
#define IDC_TROUBLESHOOT_LINK 1006
#define IDC_BROWSER_DOWNLOAD 1009

// Language of the single-language resources: English (Singapore).
#define TARNWICK_RESOURCE_LANGUAGE 0x4809
