// Resource identifiers of the Today item.
#pragma once

#define IDS_OPEN 1
#define IDS_RENAME 2
#define IDS_DELETE 3
#define IDS_OPTIONS 4
#define IDS_DELETE_QUESTION 5
#define IDS_DELETE_CAPTION 6
#define IDS_BROWSE 7
#define IDS_ITEM_NAME 8
#define IDS_RENAME_CAPTION 9
#define IDS_BAD_CHARACTERS 10
#define IDS_EMPTY_NAME 11
#define IDS_NO_FOLDER 12
#define IDS_NO_DOCUMENTS 13
#define IDS_NAME_EXISTS 14

#define IDD_DOCUMENT_NAME 102
#define IDC_NEW_NAME 1001
#define IDD_OPTIONS 500

#define IDB_STRIP 107
#define IDB_STRIP_LARGE 108
#define IDI_TABICON 109
