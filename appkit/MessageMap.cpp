#include "appkit/MessageMap.h"

namespace {

bool Matches(const MessageEntry &e, MessageEntry::Kind kind, UINT code, UINT id) {
    if (e.kind != kind) return false;
    switch (kind) {
        case MessageEntry::Kind::Message:
        case MessageEntry::Kind::Reflected:
            return e.code == code;
        case MessageEntry::Kind::Command:
        case MessageEntry::Kind::UpdateCommand:
            return e.id == id;
        case MessageEntry::Kind::ControlCode:
        case MessageEntry::Kind::Notify:
            return e.code == code && e.id == id;
    }
    return false;
}

}  // namespace

const MessageEntry *MessageMap::Find(MessageEntry::Kind kind, UINT code, UINT id) const {
    for (const MessageMap *map = this; map; map = map->base_)
        for (const MessageEntry &e : map->entries_)
            if (Matches(e, kind, code, id)) return &e;
    return nullptr;
}
