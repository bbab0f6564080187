// The registry in memory: the four predefined roots, each a tree of keys.
// Keys keep their subkeys sorted ignoring case (the order RegEnumKeyEx gives)
// and their values in the order they were created (the order RegEnumValue
// gives). Names compare ignoring case and keep the case they were made with.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace wince::registry {

enum Root { kClassesRoot, kCurrentUser, kLocalMachine, kUsers, kRootCount };

// "HKEY_LOCAL_MACHINE", ...; ParseRootName also takes "HKLM", "HKCU", ...
const char16_t *RootName(int root);
int ParseRootName(std::u16string_view name);  // -1 when not a root

std::u16string FoldName(std::u16string_view name);

struct RegValue {
    std::u16string name;  // "" is the default value
    uint32_t type = 0;
    std::vector<uint8_t> data;
};

class RegKey {
   public:
    explicit RegKey(std::u16string name = {});

    const std::u16string &Name() const { return name_; }
    // Identity that survives reloads of the file; a deleted and recreated key
    // gets a new one, so handles to the old key see ERROR_KEY_DELETED.
    uint64_t Id() const { return id_; }
    void SetId(uint64_t id) { id_ = id; }

    const std::vector<std::unique_ptr<RegKey>> &Subkeys() const { return subkeys_; }
    RegKey *FindSubkey(std::u16string_view name) const;
    RegKey *AddSubkey(std::u16string_view name, bool *created);
    bool RemoveSubkey(std::u16string_view name);

    const std::vector<RegValue> &Values() const { return values_; }
    const RegValue *FindValue(std::u16string_view name) const;
    // Returns false when the value already held exactly this type and data.
    bool SetValue(std::u16string_view name, uint32_t type, std::vector<uint8_t> data);
    bool DeleteValue(std::u16string_view name);

    // Gives this key and its subkeys the ids of the same keys in `old`.
    void AdoptIds(const RegKey &old);

   private:
    size_t LowerBound(const std::u16string &folded) const;

    std::u16string name_;
    std::u16string folded_;
    uint64_t id_;
    std::vector<std::unique_ptr<RegKey>> subkeys_;
    std::vector<RegValue> values_;
    std::unordered_map<std::u16string, size_t> valueIndex_;  // folded name -> index in values_
};

using KeyPath = std::vector<std::u16string>;

struct RegTree {
    RegKey roots[kRootCount];

    RegKey *Find(int root, const KeyPath &path) const;
    RegKey *Create(int root, const KeyPath &path, bool *created);
    // Removes the key with all its subkeys; false when it does not exist.
    bool Delete(int root, const KeyPath &path);
    void AdoptIds(const RegTree &old);
};

// Same names (exact case), values (in order) and subkeys.
bool SameKey(const RegKey &a, const RegKey &b);
bool SameTree(const RegTree &a, const RegTree &b);

}  // namespace wince::registry
