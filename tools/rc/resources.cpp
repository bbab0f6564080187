#include "resources.h"

#include "token.h"

namespace rc {

ResName ResName::Text(const std::u16string &text) {
    ResName n;
    n.isId = false;
    for (char16_t c : text) n.text += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    return n;
}

std::string ResName::Describe() const { return isId ? std::to_string(id) : "\"" + Utf16ToUtf8(text) + "\""; }

void ResourceSet::Add(Resource r, const Location &where) {
    for (const Resource &o : all_)
        if (o.type == r.type && o.name == r.name && o.language == r.language)
            throw Error(where, "duplicate resource: type " + r.type.Describe() + ", name " + r.name.Describe());
    all_.push_back(std::move(r));
}

}  // namespace rc
