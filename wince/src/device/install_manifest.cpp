#include "install_manifest.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "device.h"
#include "registry/registry.h"

namespace fs = std::filesystem;

namespace wince {
namespace {

std::string ManifestFile() {
    const char *env = getenv("WINCE_INSTALL_MANIFEST");
    if (env && *env) return env;
#ifdef WINCE_INSTALL_MANIFEST
    return WINCE_INSTALL_MANIFEST;
#else
    return "";
#endif
}

// The host file of a device path on the current device; the manifest's
// paths are the build's own, never a user's, so they need no mapping rules.
fs::path OnDevice(const std::string &devicePath) {
    std::string relative = devicePath;
    for (char &c : relative)
        if (c == '\\') c = '/';
    while (!relative.empty() && relative[0] == '/') relative.erase(0, 1);
    return Device::Current().FileSystemRoot() / relative;
}

std::string ReadWhole(const fs::path &file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// Another program of the device may start the file while it is refreshed:
// it is replaced whole (written beside it, then renamed over it), and left
// alone when it already holds what it should.
bool ReplaceWith(const fs::path &file, const std::string &content, std::string *error) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    if (fs::exists(file, ec) && ReadWhole(file) == content) return true;
    fs::path next = file;
    next += ".new-" + std::to_string(getpid());
    {
        std::ofstream out(next, std::ios::binary | std::ios::trunc);
        out << content;
        if (!out) {
            fs::remove(next, ec);
            if (error) *error = file.string() + ": cannot write";
            return false;
        }
    }
    fs::rename(next, file, ec);
    if (!ec) return true;
    fs::remove(next, ec);
    if (error) *error = file.string() + ": cannot write";
    return false;
}

bool WriteStub(const fs::path &file, const std::string &target, std::string *error) {
    return ReplaceWith(file, "#!wince-link " + target + "\n", error);
}

bool CopyInto(const fs::path &file, const std::string &source, std::string *error) {
    std::ifstream in(source, std::ios::binary);
    if (!in) {
        if (error) *error = source + ": cannot read";
        return false;
    }
    return ReplaceWith(file, ReadWhole(source), error);
}

// A device without a registry yet starts with the entries as its registry
// file: a device may be made while a caller holds the registry's lock.
bool StartRegistry(const std::string &source, std::string *error) {
    fs::path target = Device::Current().RegistryFile();
    std::ifstream in(source, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::ofstream out(target, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.close();
    registry::NoteRegistryFileReplaced(target);
    if (in && out) return true;
    if (error) *error = target.string() + ": cannot write";
    return false;
}

}  // namespace

std::vector<InstallRow> ReadInstallManifest(std::string *error) {
    std::vector<InstallRow> rows;
    std::string file = ManifestFile();
    if (file.empty()) return rows;
    std::ifstream in(file);
    if (!in) {
        if (error) *error = "cannot read the install manifest " + file;
        return rows;
    }
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::vector<std::string> fields;
        std::stringstream parts(line);
        for (std::string field; std::getline(parts, field, '\t');) fields.push_back(field);
        InstallRow row;
        row.kind = fields[0];
        if ((row.kind == "link" || row.kind == "copy") && fields.size() == 3) {
            row.devicePath = fields[1];
            for (char &c : row.devicePath)
                if (c == '/') c = '\\';
            row.hostFile = fields[2];
        } else if (row.kind == "registry" && fields.size() == 2) {
            row.hostFile = fields[1];
        } else {
            continue;  // a row of a later build
        }
        rows.push_back(row);
    }
    return rows;
}

bool InstallRows(const std::vector<InstallRow> &rows, bool withRegistry, std::string *error) {
    for (const InstallRow &row : rows) {
        std::error_code ec;
        if (row.kind == "registry" && !withRegistry) continue;
        if (!fs::exists(row.hostFile, ec)) continue;  // not built, or not written yet
        bool ok = true;
        if (row.kind == "link") ok = WriteStub(OnDevice(row.devicePath), row.hostFile, error);
        else if (row.kind == "copy") ok = CopyInto(OnDevice(row.devicePath), row.hostFile, error);
        else if (row.kind == "registry" && !fs::exists(Device::Current().RegistryFile(), ec))
            ok = StartRegistry(row.hostFile, error);
        else if (row.kind == "registry") ok = registry::ImportRegFile(row.hostFile, nullptr, error);
        if (!ok) return false;
    }
    return true;
}

}  // namespace wince
