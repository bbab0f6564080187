#include "config/LocalizationTable.h"

#include <cstring>
#include <new>

namespace {

LocalizationTable *table = nullptr;
HMODULE localizationModule = nullptr;

constexpr int kMaxTranslatedText = 1024;

// The reading window and the two field buffers of one load.
struct LineBuffers {
    WCHAR window[TranslationWindow + 1];
    WCHAR source[TranslationWindow + 1];
    WCHAR translation[TranslationWindow + 1];
    BYTE bytes[TranslationWindow];
};

// Copies one field up to the end of the text, "|", CR or LF. A terminator
// other than the end is consumed; a backslash takes the next character
// literally, except that n and r stand for line feed and carriage return.
LPCWSTR ReadField(LPCWSTR p, LPWSTR out) {
    int n = 0;
    while (*p) {
        WCHAR c = *p++;
        if (c == '|' || c == '\r' || c == '\n') break;
        if (c == '\\') {
            if (!*p) break;  // a backslash at the very end is dropped
            c = *p++;
            if (c == 'n') c = '\n';
            else if (c == 'r') c = '\r';
        }
        if (n < TranslationWindow) out[n++] = c;
    }
    out[n] = 0;
    return p;
}

}  // namespace

int ParseTranslationLine(LPCWSTR text, LPWSTR source, LPWSTR translation) {
    LPCWSTR p = ReadField(text, source);
    p = ReadField(p, translation);
    if (*p == '\r' || *p == '\n') ++p;
    return static_cast<int>(p - text);
}

LocalizationTable &LocalizationTable::Instance() {
    if (!table) table = new LocalizationTable;
    return *table;
}

void LocalizationTable::Release() {
    delete table;
    table = nullptr;
}

void LocalizationTable::AddEntry(LPCWSTR key, LPCWSTR value) {
    try {
        keys.emplace_back(key);
        try {
            values.emplace_back(value);
        } catch (const std::bad_alloc &) {
            keys.pop_back();
        }
    } catch (const std::bad_alloc &) {
        // the entry is dropped; reading goes on
    }
}

bool LocalizationTable::ReadUtf16(HANDLE file, DWORD bytesLeft) {
    LineBuffers b;
    WCHAR *window = b.window, *source = b.source, *translation = b.translation;
    int have = 0;
    for (;;) {
        DWORD want = static_cast<DWORD>(TranslationWindow - have) * sizeof(WCHAR);
        if (want > bytesLeft) want = bytesLeft;
        DWORD got = 0;
        if (want && !ReadFile(file, window + have, want, &got, nullptr)) got = 0;
        bytesLeft -= got;
        have += static_cast<int>(got / sizeof(WCHAR));  // a trailing odd byte is ignored
        if (got == 0) bytesLeft = 0;
        window[have] = 0;
        int used = ParseTranslationLine(window, source, translation);
        AddEntry(source, translation);
        if (used == 0) return true;
        have -= used;
        memmove(window, window + used, have * sizeof(WCHAR));
    }
}

bool LocalizationTable::ReadSingleByte(HANDLE file, const BYTE first[2], DWORD firstCount, DWORD bytesLeft) {
    LineBuffers b;
    WCHAR *window = b.window, *source = b.source, *translation = b.translation;
    BYTE *bytes = b.bytes;
    int have = 0;
    for (DWORD i = 0; i < firstCount; ++i) window[have++] = first[i];
    for (;;) {
        DWORD want = static_cast<DWORD>(TranslationWindow - have);
        if (want > bytesLeft) want = bytesLeft;
        DWORD got = 0;
        if (want && !ReadFile(file, bytes, want, &got, nullptr)) got = 0;
        if (got == 0) bytesLeft = 0;
        bytesLeft -= got;
        for (DWORD i = 0; i < got; ++i) window[have++] = bytes[i];  // ISO 8859-1: byte value = character
        window[have] = 0;
        int used = ParseTranslationLine(window, source, translation);
        AddEntry(source, translation);
        if (used == 0) return true;
        have -= used;
        memmove(window, window + used, have * sizeof(WCHAR));
    }
}

bool LocalizationTable::LoadTranslations(LPCWSTR path) {
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD size = GetFileSize(file, nullptr);
    if (size == INVALID_FILE_SIZE) size = 0;
    BYTE first[2] = {0, 0};
    DWORD firstCount = 0;
    if (!ReadFile(file, first, 2, &firstCount, nullptr)) firstCount = 0;
    DWORD rest = size > firstCount ? size - firstCount : 0;
    if (firstCount == 2 && first[0] == 0xFF && first[1] == 0xFE)
        ReadUtf16(file, rest);
    else
        ReadSingleByte(file, first, firstCount == 2 ? 2 : 0, rest);  // a shorter file counts as empty
    CloseHandle(file);
    return true;
}

WideString LocalizationTable::FindTranslation(LPCWSTR text) const {
    if (!text) return WideString();
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] == text) return values[i];
    }
    return WideString();
}

void SetLocalizationModule(HMODULE module) { localizationModule = module; }

HMODULE LocalizationModule() { return localizationModule; }

bool TranslationFilePath(LPCWSTR namePart, WideString &path) {
    WCHAR file[MAX_PATH];
    DWORD n = GetModuleFileNameW(localizationModule, file, MAX_PATH);
    if (n == 0 || n >= MAX_PATH || !namePart) return false;
    WideString folder(file, n);
    size_t slash = folder.find_last_of(TEXT('\\'));
    folder.resize(slash == WideString::npos ? 0 : slash);
    path = folder + namePart;
    return path.size() < MAX_PATH;
}

bool LoadTranslations(LPCWSTR namePart) {
    WideString path;
    if (!TranslationFilePath(namePart, path)) return false;
    return LocalizationTable::Instance().LoadTranslations(path.c_str());
}

WideString FindTranslation(LPCWSTR text) { return LocalizationTable::Instance().FindTranslation(text); }

WideString TranslateText(LPCWSTR text) {
    WideString translated = FindTranslation(text);
    if (translated.empty() && text) translated = text;
    if (translated.size() > kMaxTranslatedText) translated.resize(kMaxTranslatedText);
    return translated;
}
