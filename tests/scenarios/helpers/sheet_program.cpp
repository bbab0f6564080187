// A device program with a two-page property sheet, driven by a script of
// user actions (WINCE_SCRIPT): "General" (a name that must not be empty to
// leave the page, and "Sound") and "Advanced" ("Verbose"). It prints what
// its pages heard, the sheet's result and what OK applied, and exits 1
// when a script line could not be carried out.
#include <commctrl.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "script/script_runner.h"
#include "core/unicode.h"
#include "dialog/template_writer.h"

namespace {

std::string heard;
std::string applied;

void Hear(char what, int page) {
    if (!heard.empty()) heard += ' ';
    heard += what;
    heard += static_cast<char>('0' + page);
}

char Letter(UINT code) {
    switch (code) {
        case PSN_SETACTIVE: return 'S';
        case PSN_KILLACTIVE: return 'K';
        case PSN_APPLY: return 'A';
        case PSN_RESET: return 'R';
        case PSN_QUERYCANCEL: return 'Q';
    }
    return 0;
}

std::string Applied(HWND page, int page_number) {
    std::ostringstream out;
    if (page_number == 0) {
        WCHAR name[64] = {};
        GetDlgItemTextW(page, 100, name, 64);
        out << "name=" << wince::ToUtf8(name) << " sound=" << IsDlgButtonChecked(page, 101);
    } else {
        out << "verbose=" << IsDlgButtonChecked(page, 200);
    }
    return out.str();
}

BOOL CALLBACK PageProc(HWND page, UINT msg, WPARAM, LPARAM lParam) {
    if (msg == WM_INITDIALOG) {
        int n = static_cast<int>(reinterpret_cast<PROPSHEETPAGEW *>(lParam)->lParam);
        SetWindowLongPtrW(page, DWLP_USER, n);
        Hear('I', n);
        return TRUE;
    }
    if (msg != WM_NOTIFY) return FALSE;
    int n = static_cast<int>(GetWindowLongPtrW(page, DWLP_USER));
    UINT code = reinterpret_cast<NMHDR *>(lParam)->code;
    if (!Letter(code)) return FALSE;
    Hear(Letter(code), n);
    LRESULT answer = 0;
    // The name is needed before the page can be left.
    if (code == PSN_KILLACTIVE && n == 0 && GetWindowTextLengthW(GetDlgItem(page, 100)) == 0) {
        answer = TRUE;
        SetFocus(GetDlgItem(page, 100));
    }
    if (code == PSN_APPLY) applied += (applied.empty() ? "" : " ") + Applied(page, n);
    SetWindowLongPtrW(page, DWLP_MSGRESULT, answer);
    return TRUE;
}

}  // namespace

int main() {
    const char *scriptFile = getenv("WINCE_SCRIPT");
    std::ifstream in(scriptFile ? scriptFile : "");
    std::stringstream text;
    text << in.rdbuf();
    wince::ScriptRunner runner;
    std::string error;
    if (!in || !runner.Load(text.str(), scriptFile, error)) {
        fprintf(stderr, "sheet_program: %s\n", in ? error.c_str() : "no script (WINCE_SCRIPT)");
        return 2;
    }
    wince::DialogTemplateWriter general(DS_CONTROL | WS_CHILD, 0, 0, 120, 80, u"General");
    general.Item(0x0081, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, 4, 4, 80, 12, 100, u"");
    general.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 20, 80, 10, 101, u"Sound");
    wince::DialogTemplateWriter advanced(DS_CONTROL | WS_CHILD, 0, 0, 120, 80, u"Advanced");
    advanced.Item(0x0080, WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, 4, 4, 80, 10, 200, u"Verbose");
    PROPSHEETPAGEW pages[2] = {};
    const wince::DialogTemplateWriter *templates[2] = {&general, &advanced};
    for (int i = 0; i < 2; ++i) {
        pages[i].dwSize = sizeof pages[i];
        pages[i].dwFlags = PSP_DLGINDIRECT;
        pages[i].pResource = templates[i]->Get();
        pages[i].pfnDlgProc = PageProc;
        pages[i].lParam = i;
    }
    PROPSHEETHEADERW header{};
    header.dwSize = sizeof header;
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW | PSH_MAXIMIZE;
    header.pszCaption = u"Settings";
    header.nPages = 2;
    header.ppsp = pages;
    runner.Start();
    INT_PTR result = PropertySheetW(&header);
    // The rest of the script (a dump of what is left) runs to its end.
    MSG msg;
    while (!runner.Failed() && GetMessageW(&msg, nullptr, 0, 0)) DispatchMessageW(&msg);
    printf("result %ld\nheard %s\napplied %s\n", static_cast<long>(result), heard.c_str(), applied.c_str());
    if (runner.Failed()) {
        fprintf(stderr, "sheet_program: %s\n", runner.Error().c_str());
        return 1;
    }
    return 0;
}
