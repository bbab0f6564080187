// The events of the trace and their sentences for the front end.
#include <nlohmann/json.hpp>

#include <cctype>
#include <cstdint>

#include "core/unicode.h"
#include "trace.h"
#include "trace_file.h"

namespace wince {
namespace {

using Json = nlohmann::ordered_json;

std::string U8(const std::u16string &text) { return ToUtf8(text); }

void Emit(const Json &event, std::string sentence) {
    // Texts that are not valid UTF-16 still make a line rather than an exception.
    WriteTraceLine(event.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace));
    SetLastTracedAction(std::move(sentence));
}

const char *AnswerName(int answer) {
    switch (answer) {
        case IDOK: return "OK";
        case IDCANCEL: return "Cancel";
        case IDABORT: return "Abort";
        case IDRETRY: return "Retry";
        case IDIGNORE: return "Ignore";
        case IDYES: return "Yes";
        case IDNO: return "No";
    }
    return nullptr;
}

}  // namespace

void TraceShellExecute(const std::u16string &verb, const std::u16string &file, const std::u16string &parameters,
                       const std::u16string &directory, int show, DWORD error) {
    Json e;
    e["event"] = "ShellExecuteEx";
    e["verb"] = U8(verb);
    e["file"] = U8(file);
    e["parameters"] = U8(parameters);
    e["directory"] = U8(directory);
    e["show"] = show;
    // A start that fails is traced too: the user's tap did something.
    if (error != ERROR_SUCCESS) {
        e["error"] = error;
        Emit(e, "could not open " + U8(file) + " (error " + std::to_string(error) + ")");
        return;
    }
    std::string leaf = U8(file.substr(file.find_last_of(u'\\') == std::u16string::npos ? 0 : file.find_last_of(u'\\') + 1));
    for (char &c : leaf) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
    if (leaf == "fexplore.exe") Emit(e, "showed " + U8(parameters) + " in the file explorer");
    else if (leaf == "peghelp.exe") Emit(e, "showed the help " + U8(parameters));
    else Emit(e, "opened " + U8(file) + (verb.empty() ? "" : " with " + U8(verb)));
}

void TraceCreateProcess(const std::u16string &application, const std::u16string &commandLine, DWORD error) {
    Json e;
    e["event"] = "CreateProcess";
    e["application"] = U8(application);
    e["commandLine"] = U8(commandLine);
    if (error != ERROR_SUCCESS) {
        e["error"] = error;
        Emit(e, "could not start " + U8(application) + " (error " + std::to_string(error) + ")");
        return;
    }
    Emit(e, "started " + U8(application) + (commandLine.empty() ? "" : " " + U8(commandLine)));
}

void TraceMessageBox(const std::u16string &text, const std::u16string &caption, UINT type, int answer) {
    Json e;
    e["event"] = "MessageBox";
    e["text"] = U8(text);
    e["caption"] = U8(caption);
    e["type"] = type;
    e["answer"] = answer;
    const char *name = AnswerName(answer);
    Emit(e, "message \"" + U8(caption) + "\" answered " + (name ? name : std::to_string(answer)));
}

void TraceTrackPopupMenu(const std::vector<TracedMenuItem> &items, UINT answer) {
    Json e;
    e["event"] = "TrackPopupMenu";
    Json list = Json::array();
    std::u16string chosen;
    for (const TracedMenuItem &item : items) {
        Json row;
        if (item.separator) {
            row["separator"] = true;
        } else {
            row["id"] = item.id;
            row["text"] = U8(item.text);
            if (answer && item.id == answer && chosen.empty()) chosen = item.text;
        }
        list.push_back(row);
    }
    e["items"] = list;
    e["answer"] = answer;
    Emit(e, answer ? "chose \"" + U8(chosen) + "\" from a menu" : "dismissed a menu");
}

void TracePostMessage(HWND target, UINT message, WPARAM wParam, LPARAM lParam) {
    Json e;
    e["event"] = "PostMessage";
    e["target"] = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(target));
    e["message"] = message;
    e["wParam"] = static_cast<uint64_t>(wParam);
    e["lParam"] = static_cast<int64_t>(lParam);
    char hex[16];
    snprintf(hex, sizeof hex, "0x%04X", message);
    Emit(e, std::string("posted message ") + hex + " to another program");
}

void TraceSetForegroundWindow(HWND target, DWORD error) {
    Json e;
    e["event"] = "SetForegroundWindow";
    e["target"] = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(target));
    if (error != ERROR_SUCCESS) {
        e["error"] = error;
        Emit(e, "no Today screen runs to come to the front");
        return;
    }
    Emit(e, "brought the Today screen to the front");
}

void TraceDeleteFile(const std::u16string &path, BOOL result) {
    Json e;
    e["event"] = "DeleteFile";
    e["path"] = U8(path);
    e["result"] = result != FALSE;
    Emit(e, (result ? "deleted " : "could not delete ") + U8(path));
}

void TraceMoveFile(const std::u16string &from, const std::u16string &to, BOOL result) {
    Json e;
    e["event"] = "MoveFile";
    e["from"] = U8(from);
    e["to"] = U8(to);
    e["result"] = result != FALSE;
    Emit(e, (result ? "moved " : "could not move ") + U8(from) + " to " + U8(to));
}

}  // namespace wince
