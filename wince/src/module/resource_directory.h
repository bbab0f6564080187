// The tables wince-rc generates and links into a module: its resources in
// their Win32 binary formats, and the export table of its .def file. Plain C
// layout, because the generated code and the loader are compiled apart.
#pragma once

#ifdef __cplusplus
extern "C" {
#endif

// A type or name is either a 16-bit id (text NULL) or an upper-case string.
struct WinceResourceEntry {
    unsigned short typeId;
    const char16_t *typeName;
    unsigned short nameId;
    const char16_t *name;
    unsigned short language;
    const unsigned char *data;
    unsigned int size;
};

struct WinceResourceDirectory {
    unsigned int count;
    const struct WinceResourceEntry *entries;
};

struct WinceExport {
    const char *name;    // the exported name, as GetProcAddressW is asked for it
    const char *symbol;  // the module's own symbol behind it (dlsym)
    unsigned short ordinal;
    int noName;  // exported by ordinal only
};

struct WinceExportTable {
    unsigned int count;
    const struct WinceExport *exports;
};

// Every module defines the same two names, so they are functions: data of
// one name in several modules would look like one object defined twice.
typedef const struct WinceResourceDirectory *(*WinceResourceDirectoryFunction)(void);
typedef const struct WinceExportTable *(*WinceExportTableFunction)(void);

#ifdef __cplusplus
}
#endif

// The functions the generated code defines.
#define WINCE_RESOURCE_DIRECTORY_SYMBOL "wince_resource_directory"
#define WINCE_EXPORT_TABLE_SYMBOL "wince_export_table"
