#include "key_tree.h"

#include <algorithm>
#include <atomic>

#include "../core/unicode.h"

namespace wince::registry {
namespace {

std::atomic<uint64_t> nextId{1};

struct RootAlias {
    const char16_t *name;
    int root;
};

const RootAlias rootAliases[] = {
    {u"HKEY_CLASSES_ROOT", kClassesRoot}, {u"HKEY_CURRENT_USER", kCurrentUser}, {u"HKEY_LOCAL_MACHINE", kLocalMachine},
    {u"HKEY_USERS", kUsers},              {u"HKCR", kClassesRoot},              {u"HKCU", kCurrentUser},
    {u"HKLM", kLocalMachine},             {u"HKU", kUsers},
};

}  // namespace

const char16_t *RootName(int root) { return root >= 0 && root < kRootCount ? rootAliases[root].name : u""; }

int ParseRootName(std::u16string_view name) {
    for (const RootAlias &alias : rootAliases)
        if (EqualsIgnoreCase(name, alias.name)) return alias.root;
    return -1;
}

std::u16string FoldName(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t &c : folded) c = FoldUpper(c);
    return folded;
}

RegKey::RegKey(std::u16string name) : name_(std::move(name)), folded_(FoldName(name_)), id_(nextId++) {}

size_t RegKey::LowerBound(const std::u16string &folded) const {
    auto it = std::lower_bound(subkeys_.begin(), subkeys_.end(), folded,
                               [](const std::unique_ptr<RegKey> &key, const std::u16string &f) { return key->folded_ < f; });
    return static_cast<size_t>(it - subkeys_.begin());
}

RegKey *RegKey::FindSubkey(std::u16string_view name) const {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    return i < subkeys_.size() && subkeys_[i]->folded_ == folded ? subkeys_[i].get() : nullptr;
}

RegKey *RegKey::AddSubkey(std::u16string_view name, bool *created) {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    if (i < subkeys_.size() && subkeys_[i]->folded_ == folded) {
        if (created) *created = false;
        return subkeys_[i].get();
    }
    auto key = std::make_unique<RegKey>(std::u16string(name));
    RegKey *made = key.get();
    subkeys_.insert(subkeys_.begin() + static_cast<std::ptrdiff_t>(i), std::move(key));
    if (created) *created = true;
    return made;
}

bool RegKey::RemoveSubkey(std::u16string_view name) {
    std::u16string folded = FoldName(name);
    size_t i = LowerBound(folded);
    if (i >= subkeys_.size() || subkeys_[i]->folded_ != folded) return false;
    subkeys_.erase(subkeys_.begin() + static_cast<std::ptrdiff_t>(i));
    return true;
}

const RegValue *RegKey::FindValue(std::u16string_view name) const {
    auto it = valueIndex_.find(FoldName(name));
    return it == valueIndex_.end() ? nullptr : &values_[it->second];
}

bool RegKey::SetValue(std::u16string_view name, uint32_t type, std::vector<uint8_t> data) {
    std::u16string folded = FoldName(name);
    auto it = valueIndex_.find(folded);
    if (it != valueIndex_.end()) {
        RegValue &value = values_[it->second];  // keeps its place and the case of its name
        if (value.type == type && value.data == data) return false;
        value.type = type;
        value.data = std::move(data);
        return true;
    }
    values_.push_back(RegValue{std::u16string(name), type, std::move(data)});
    valueIndex_.emplace(std::move(folded), values_.size() - 1);
    return true;
}

bool RegKey::DeleteValue(std::u16string_view name) {
    auto it = valueIndex_.find(FoldName(name));
    if (it == valueIndex_.end()) return false;
    size_t index = it->second;
    valueIndex_.erase(it);
    values_.erase(values_.begin() + static_cast<std::ptrdiff_t>(index));
    for (auto &[folded, i] : valueIndex_)
        if (i > index) --i;
    return true;
}

void RegKey::AdoptIds(const RegKey &old) {
    id_ = old.id_;
    for (auto &key : subkeys_)
        if (const RegKey *match = old.FindSubkey(key->name_)) key->AdoptIds(*match);
}

RegKey *RegTree::Find(int root, const KeyPath &path) const {
    if (root < 0 || root >= kRootCount) return nullptr;
    const RegKey *key = &roots[root];
    for (const std::u16string &name : path) {
        key = key->FindSubkey(name);
        if (!key) return nullptr;
    }
    return const_cast<RegKey *>(key);
}

RegKey *RegTree::Create(int root, const KeyPath &path, bool *created) {
    if (created) *created = false;
    if (root < 0 || root >= kRootCount) return nullptr;
    RegKey *key = &roots[root];
    for (const std::u16string &name : path) {
        bool made = false;
        key = key->AddSubkey(name, &made);
        if (made && created) *created = true;
    }
    return key;
}

bool RegTree::Delete(int root, const KeyPath &path) {
    if (path.empty()) return false;  // a root cannot be deleted
    RegKey *parent = Find(root, KeyPath(path.begin(), path.end() - 1));
    return parent && parent->RemoveSubkey(path.back());
}

void RegTree::AdoptIds(const RegTree &old) {
    for (int i = 0; i < kRootCount; ++i) roots[i].AdoptIds(old.roots[i]);
}

bool SameKey(const RegKey &a, const RegKey &b) {
    if (a.Name() != b.Name() || a.Values().size() != b.Values().size() || a.Subkeys().size() != b.Subkeys().size())
        return false;
    for (size_t i = 0; i < a.Values().size(); ++i) {
        const RegValue &x = a.Values()[i], &y = b.Values()[i];
        if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
    }
    for (size_t i = 0; i < a.Subkeys().size(); ++i)
        if (!SameKey(*a.Subkeys()[i], *b.Subkeys()[i])) return false;
    return true;
}

bool SameTree(const RegTree &a, const RegTree &b) {
    for (int i = 0; i < kRootCount; ++i)
        if (!SameKey(a.roots[i], b.roots[i])) return false;
    return true;
}

}  // namespace wince::registry
