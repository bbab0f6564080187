// wince-reg: the device world's `reg` command for a simulated device.
//
//   wince-reg [--device DIR] query KEY [/v NAME | /ve]
//   wince-reg [--device DIR] add KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]
//   wince-reg [--device DIR] delete KEY [/v NAME | /ve] [/f]
//   wince-reg [--device DIR] export [KEY] FILE
//   wince-reg [--device DIR] import FILE
//
// query, add and delete go through the Reg* functions, as a device program would.
#include <windows.h>

#include <strings.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "core/unicode.h"
#include "device/device.h"
#include "registry/registry.h"

namespace {

const char kNotFound[] = "ERROR: The system was unable to find the specified registry key or value.";
const char kDone[] = "The operation completed successfully.";

// Command-line mistakes exit with 2, failures of the operation with 1.
constexpr int kUsageStatus = 2;
const char kUsage[] = "usage: wince-reg [--device DIR] query|add|delete|export|import ... (see --help)\n";

struct UsageError {
    std::string message;
};

struct Switches {
    std::string key;
    std::optional<std::string> value;  // /v NAME; "" for /ve
    std::string type = "REG_SZ";
    std::optional<std::string> data;
    bool force = false;
};

bool Is(const std::string &arg, const char *name) { return strcasecmp(arg.c_str(), name) == 0; }

// The key first, then reg's slash switches in any order.
Switches ParseSwitches(const std::vector<std::string> &args, bool allowTypeAndData, bool allowForce) {
    if (args.empty()) throw UsageError{"a registry key is required (for example HKLM\\Software\\Varnhold)"};
    Switches s;
    s.key = args[0];
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string &arg = args[i];
        auto next = [&]() -> std::string {
            if (i + 1 >= args.size()) throw UsageError{arg + " needs a value"};
            return args[++i];
        };
        if (Is(arg, "/v")) {
            if (s.value) throw UsageError{"/v or /ve given twice"};
            s.value = next();
        } else if (Is(arg, "/ve")) {
            if (s.value) throw UsageError{"/v or /ve given twice"};
            s.value = "";
        } else if (allowTypeAndData && Is(arg, "/t")) {
            s.type = next();
        } else if (allowTypeAndData && Is(arg, "/d")) {
            s.data = next();
        } else if (allowForce && Is(arg, "/f")) {
            s.force = true;
        } else {
            throw UsageError{"unexpected argument: " + arg};
        }
    }
    return s;
}

struct KeyName {
    HKEY root;
    std::u16string rootName;
    std::u16string subKey;  // "" for the root itself
};

KeyName ParseKey(const std::string &text) {
    int root;
    wince::registry::KeyPath path;
    std::u16string wide = wince::FromUtf8(text);
    if (!wince::registry::ParseKeyPath(wide, &root, &path))
        throw UsageError{"not a registry key: " + text + " (use HKLM\\..., HKCU\\..., HKCR\\... or HKU\\...)"};
    static const HKEY roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS};
    KeyName name{roots[root], wince::registry::RootName(root), {}};
    for (const std::u16string &part : path) name.subKey += (name.subKey.empty() ? u"" : u"\\") + part;
    return name;
}

std::u16string FullName(const KeyName &key) { return key.subKey.empty() ? key.rootName : key.rootName + u"\\" + key.subKey; }

const char *TypeName(DWORD type) {
    static const char *names[] = {"REG_NONE", "REG_SZ",       "REG_EXPAND_SZ", "REG_BINARY",
                                  "REG_DWORD", "REG_DWORD_BIG_ENDIAN", "REG_LINK", "REG_MULTI_SZ"};
    if (type < std::size(names)) return names[type];
    return type == 11 ? "REG_QWORD" : "REG_UNKNOWN";
}

std::string Hex(const std::vector<BYTE> &data) {
    std::string out;
    char byte[4];
    for (BYTE b : data) snprintf(byte, sizeof byte, "%02X", b), out += byte;
    return out;
}

std::string ShowData(DWORD type, const std::vector<BYTE> &data) {
    std::u16string text;
    for (size_t i = 0; i + 1 < data.size(); i += 2) text += static_cast<char16_t>(data[i] | data[i + 1] << 8);
    if (type == REG_SZ || type == REG_EXPAND_SZ) return wince::ToUtf8(text.substr(0, text.find(u'\0')));
    if (type == REG_MULTI_SZ) {
        while (!text.empty() && text.back() == 0) text.pop_back();
        std::string out;
        for (char16_t c : text) out += c == 0 ? std::string("\\0") : wince::ToUtf8(std::u16string(1, c));
        return out;
    }
    char number[24];
    if (type == REG_DWORD && data.size() == 4) {
        snprintf(number, sizeof number, "0x%x", data[0] | data[1] << 8 | data[2] << 16 | static_cast<unsigned>(data[3]) << 24);
        return number;
    }
    if (type == 11 && data.size() == 8) {
        unsigned long long v = 0;
        for (int i = 7; i >= 0; --i) v = v << 8 | data[static_cast<size_t>(i)];
        snprintf(number, sizeof number, "0x%llx", v);
        return number;
    }
    return Hex(data);
}

std::string ValueLine(const std::u16string &name, DWORD type, const std::vector<BYTE> &data) {
    return "    " + (name.empty() ? std::string("(Default)") : wince::ToUtf8(name)) + "    " + TypeName(type) + "    " +
           ShowData(type, data) + "\n";
}

// reg would ask; without a terminal to ask on, the answer is no.
bool Confirm(const std::string &question) {
    if (!isatty(STDIN_FILENO)) return false;
    std::cout << question << " (Yes/No)? " << std::flush;
    std::string answer;
    return std::getline(std::cin, answer) && !answer.empty() && (answer[0] == 'y' || answer[0] == 'Y');
}

int Query(const std::vector<std::string> &args) {
    Switches s = ParseSwitches(args, false, false);
    KeyName name = ParseKey(s.key);
    HKEY key = nullptr;
    if (RegOpenKeyExW(name.root, name.subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) {
        std::cerr << kNotFound << "\n";
        return 1;
    }
    std::string out = "\n" + wince::ToUtf8(FullName(name)) + "\n";
    if (s.value) {
        std::u16string value = wince::FromUtf8(*s.value);
        DWORD type = 0, size = 0;
        std::vector<BYTE> data;
        LONG r = RegQueryValueExW(key, value.c_str(), nullptr, &type, nullptr, &size);
        if (r == ERROR_SUCCESS) data.resize(size), r = RegQueryValueExW(key, value.c_str(), nullptr, &type, data.data(), &size);
        if (r != ERROR_SUCCESS) {
            RegCloseKey(key);
            std::cerr << kNotFound << "\n";
            return 1;
        }
        // Shown with the name's own case, as it was made.
        std::vector<WCHAR> stored(16384);
        for (DWORD i = 0;; ++i) {
            DWORD cch = static_cast<DWORD>(stored.size());
            if (RegEnumValueW(key, i, stored.data(), &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
            if (lstrcmpiW(stored.data(), value.c_str()) == 0) {
                value.assign(stored.data(), cch);
                break;
            }
        }
        RegCloseKey(key);
        std::cout << out << ValueLine(value, type, data) << "\n";
        return 0;
    }
    DWORD values = 0, subKeys = 0, maxName = 0, maxData = 0, maxSubKey = 0;
    RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName, &maxData, nullptr,
                     nullptr);
    for (DWORD i = 0; i < values; ++i) {
        std::vector<WCHAR> valueName(maxName + 1);
        std::vector<BYTE> data(maxData);
        DWORD cch = maxName + 1, size = maxData, type = 0;
        if (RegEnumValueW(key, i, valueName.data(), &cch, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
        data.resize(size);
        out += ValueLine(std::u16string(valueName.data(), cch), type, data);
    }
    if (values) out += "\n";
    for (DWORD i = 0; i < subKeys; ++i) {
        std::vector<WCHAR> subName(maxSubKey + 1);
        DWORD cch = maxSubKey + 1;
        if (RegEnumKeyExW(key, i, subName.data(), &cch, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        out += wince::ToUtf8(FullName(name) + u"\\" + std::u16string(subName.data(), cch)) + "\n";
    }
    RegCloseKey(key);
    std::cout << out;
    return 0;
}

std::vector<BYTE> EncodeData(const std::string &type, const std::string &text, DWORD *typeCode) {
    auto utf16 = [](std::u16string s) {
        std::vector<BYTE> out;
        for (char16_t c : s) out.push_back(static_cast<BYTE>(c)), out.push_back(static_cast<BYTE>(c >> 8));
        return out;
    };
    if (Is(type, "REG_SZ") || Is(type, "REG_EXPAND_SZ")) {
        *typeCode = Is(type, "REG_SZ") ? REG_SZ : REG_EXPAND_SZ;
        return utf16(wince::FromUtf8(text) + u'\0');
    }
    if (Is(type, "REG_MULTI_SZ")) {
        *typeCode = REG_MULTI_SZ;
        std::u16string joined;
        for (size_t start = 0; start <= text.size();) {  // the strings are separated by a literal \0
            size_t end = text.find("\\0", start);
            if (end == std::string::npos) end = text.size();
            if (end > start) joined += wince::FromUtf8(text.substr(start, end - start)) + u'\0';
            start = end + 2;
        }
        return utf16(joined + u'\0');
    }
    if (Is(type, "REG_DWORD")) {
        *typeCode = REG_DWORD;
        const std::string digits = text.empty() ? "0" : text;
        bool hex = digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
        size_t used = 0;
        unsigned long long v = 0;
        try {
            v = std::stoull(hex ? digits.substr(2) : digits, &used, hex ? 16 : 10);
        } catch (const std::exception &) {
            used = 0;
        }
        if (used != (hex ? digits.size() - 2 : digits.size()) || v > 0xFFFFFFFFull || digits[hex ? 2 : 0] == '-' ||
            digits[hex ? 2 : 0] == '+')
            throw UsageError{"REG_DWORD data must be a number from 0 to 4294967295, in decimal or 0x hex: " + text};
        return {static_cast<BYTE>(v), static_cast<BYTE>(v >> 8), static_cast<BYTE>(v >> 16), static_cast<BYTE>(v >> 24)};
    }
    if (Is(type, "REG_BINARY") || Is(type, "REG_NONE")) {
        *typeCode = Is(type, "REG_BINARY") ? REG_BINARY : REG_NONE;
        if (text.size() % 2 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            throw UsageError{type + " data must be pairs of hex digits (for example 0A1B): " + text};
        std::vector<BYTE> out;
        for (size_t i = 0; i < text.size(); i += 2) out.push_back(static_cast<BYTE>(std::stoul(text.substr(i, 2), nullptr, 16)));
        return out;
    }
    throw UsageError{"unknown type " + type + " (use REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ, REG_DWORD or REG_BINARY)"};
}

int Add(const std::vector<std::string> &args) {
    Switches s = ParseSwitches(args, true, true);
    KeyName name = ParseKey(s.key);
    DWORD type = 0;
    std::vector<BYTE> data;
    if (s.value) data = EncodeData(s.type, s.data.value_or(""), &type);
    else if (s.data) throw UsageError{"/d needs /v or /ve"};
    HKEY key = nullptr;
    if (LONG r = RegCreateKeyExW(name.root, name.subKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
        r != ERROR_SUCCESS) {
        std::cerr << "ERROR: cannot create the key (error " << r << ").\n";
        return 1;
    }
    if (s.value) {
        std::u16string value = wince::FromUtf8(*s.value);
        if (!s.force && RegQueryValueExW(key, value.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
            !Confirm("Value " + (s.value->empty() ? std::string("(Default)") : *s.value) + " exists, overwrite")) {
            RegCloseKey(key);
            std::cerr << "ERROR: the value " << (s.value->empty() ? "(Default)" : *s.value)
                      << " exists already; add /f to overwrite it.\n";
            return 1;
        }
        LONG r = RegSetValueExW(key, value.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
        if (r != ERROR_SUCCESS) {
            RegCloseKey(key);
            std::cerr << "ERROR: cannot set the value (error " << r << ").\n";
            return 1;
        }
    }
    RegCloseKey(key);
    std::cout << kDone << "\n";
    return 0;
}

int Delete(const std::vector<std::string> &args) {
    Switches s = ParseSwitches(args, false, true);
    KeyName name = ParseKey(s.key);
    if (!s.value && name.subKey.empty()) throw UsageError{"a root key cannot be deleted: " + s.key};
    HKEY key = nullptr;
    if (RegOpenKeyExW(name.root, name.subKey.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS ||
        (s.value && RegQueryValueExW(key, wince::FromUtf8(*s.value).c_str(), nullptr, nullptr, nullptr, nullptr) !=
                        ERROR_SUCCESS)) {
        if (key) RegCloseKey(key);
        std::cerr << kNotFound << "\n";
        return 1;
    }
    std::string what = s.value ? "the registry value " + (s.value->empty() ? std::string("(Default)") : *s.value)
                               : "the registry key " + wince::ToUtf8(FullName(name));
    if (!s.force && !Confirm("Permanently delete " + what)) {
        RegCloseKey(key);
        std::cerr << "ERROR: not deleting " << what << " without /f.\n";
        return 1;
    }
    LONG r = s.value ? RegDeleteValueW(key, wince::FromUtf8(*s.value).c_str()) : RegDeleteKeyW(key, u"");
    RegCloseKey(key);
    if (r != ERROR_SUCCESS) {
        std::cerr << "ERROR: cannot delete " << what << " (error " << r << ").\n";
        return 1;
    }
    std::cout << kDone << "\n";
    return 0;
}

int Export(std::vector<std::string> args) {
    if (!args.empty() && Is(args.back(), "/y")) args.pop_back();  // reg's "overwrite without asking"
    if (args.empty() || args.size() > 2) throw UsageError{"export takes [KEY] FILE"};
    std::u16string key;
    if (args.size() == 2) key = FullName(ParseKey(args[0]));
    std::string error;
    if (!wince::registry::ExportRegFile(args.back(), key, &error)) {
        std::cerr << "ERROR: " << error << "\n";
        return 1;
    }
    std::cout << kDone << "\n";
    return 0;
}

int Import(const std::vector<std::string> &args) {
    if (args.size() != 1) throw UsageError{"import takes one FILE"};
    std::vector<int> damaged;
    std::string error;
    if (!wince::registry::ImportRegFile(args[0], &damaged, &error)) {
        std::cerr << "ERROR: " << error << "\n";
        return 1;
    }
    std::cout << kDone << "\n";
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    CLI::App app{"Reads and changes the registry of a simulated Windows CE device, like the device's reg command.",
                 "wince-reg"};
    std::string device;
    app.add_option("--device", device, "the device folder (default: $WINCE_DEVICE, else the default device)");
    app.require_subcommand(1);
    struct Command {
        const char *name, *syntax, *help;
        int (*run)(const std::vector<std::string> &);
    };
    const Command commands[] = {
        {"query", "KEY [/v NAME | /ve]", "show a key's values and subkeys, or one value", Query},
        {"add", "KEY [/v NAME | /ve] [/t TYPE] [/d DATA] [/f]", "make a key, set a value", Add},
        {"delete", "KEY [/v NAME | /ve] [/f]", "delete a key with its subkeys, or one value", Delete},
        {"export", "[KEY] FILE", "write the registry, or one key, as a .reg file",
         [](const std::vector<std::string> &a) { return Export(a); }},
        {"import", "FILE", "merge a .reg file into the registry (all or nothing)", Import},
    };
    for (const Command &command : commands)
        app.add_subcommand(command.name, std::string(command.syntax) + ": " + command.help)->prefix_command();
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp &e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp &e) {
        return app.exit(e);
    } catch (const CLI::ParseError &e) {
        std::string message = e.what();
        for (int i = 1; i < argc; ++i) {  // name the word that is not a command
            std::string arg = argv[i];
            if (arg == "--device") ++i;
            else if (!arg.empty() && arg[0] != '-') message = "unknown command: " + arg;
            if (message != e.what()) break;
        }
        std::cerr << "wince-reg: " << message << "\n" << kUsage;
        return kUsageStatus;
    }
    if (!device.empty()) {
        // Only pelloran-sim init makes devices: a mistyped folder must not become one.
        std::error_code ec;
        if (!std::filesystem::is_directory(std::filesystem::path(device) / "fs", ec)) {
            std::cerr << "wince-reg: " << device << " is not a device folder (pelloran-sim --device DIR init makes one)\n";
            return 1;
        }
        wince::Device::Select(device);
    }
    for (const Command &command : commands) {
        CLI::App *sub = app.get_subcommand(command.name);
        if (!sub->parsed()) continue;
        try {
            return command.run(sub->remaining());
        } catch (const UsageError &e) {
            std::cerr << "wince-reg " << command.name << ": " << e.message << "\nusage: wince-reg [--device DIR] "
                      << command.name << " " << command.syntax << "\n";
            return kUsageStatus;
        } catch (const std::exception &e) {  // no failure may end the tool without a word
            std::cerr << "wince-reg " << command.name << ": " << e.what() << "\n";
            return 1;
        }
    }
    return 1;
}
