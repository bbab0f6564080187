// Importing and exporting .reg files to and from the device's registry.
#include <fstream>
#include <iterator>
#include <sstream>

#include "registry.h"
#include "../core/unicode.h"
#include "registry_store.h"

namespace wince::registry {

bool ImportRegFile(const std::filesystem::path &file, std::vector<int> *damagedLines, std::string *error) {
    if (damagedLines) damagedLines->clear();
    std::error_code ec;
    if (std::filesystem::is_directory(file, ec)) {
        if (error) *error = file.string() + ": is a folder, not a .reg file";
        return false;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        if (error) *error = file.string() + ": cannot open the file";
        return false;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        if (error) *error = file.string() + ": cannot read the file";
        return false;
    }
    // All or nothing: a file with a damaged line changes nothing.
    std::vector<int> damaged = ParseRegText(bytes).damagedLines;
    if (!damaged.empty()) {
        if (damagedLines) *damagedLines = damaged;
        if (error) *error = DamageWarning(file.string(), damaged, "nothing was imported");
        return false;
    }
    Store &store = Store::Instance();
    auto lock = store.Lock();
    LONG r = store.Apply([&](RegTree &tree, bool *changed) -> LONG {
        ApplyRegText(bytes, tree);
        *changed = true;
        return ERROR_SUCCESS;
    });
    if (r != ERROR_SUCCESS) {
        if (error) *error = store.File().string() + ": cannot write the registry";
        return false;
    }
    return true;
}

bool ExportRegFile(const std::filesystem::path &file, std::u16string_view key, std::string *error) {
    std::string text;
    {
        Store &store = Store::Instance();
        auto lock = store.Lock();
        store.Refresh();
        if (key.empty()) {
            text = SerializeTree(store.Tree());
        } else {
            int root;
            KeyPath path;
            if (!ParseKeyPath(key, &root, &path)) {
                if (error) *error = "not a registry key: " + ToUtf8(key);
                return false;
            }
            const RegKey *found = store.Tree().Find(root, path);
            if (!found) {
                if (error) *error = "The system was unable to find the specified registry key or value.";
                return false;
            }
            KeyPath stored;  // the names as they were made, not as the caller spelled them
            for (const RegKey *key = &store.Tree().roots[root]; const std::u16string &name : path) {
                key = key->FindSubkey(name);
                stored.push_back(key->Name());
            }
            text = SerializeKey(root, stored, *found);
        }
    }
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        if (error) *error = file.string() + ": cannot write the file";
        return false;
    }
    return true;
}

}  // namespace wince::registry
