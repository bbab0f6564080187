// Handler tables: each window class lists the messages, commands and
// notifications it handles, and chains to its base class's table.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <initializer_list>
#include <vector>

class Window;
class CommandUpdate;

struct MessageEntry {
    enum class Kind { Message, Command, ControlCode, Notify, Reflected, UpdateCommand };
    Kind kind;
    UINT code;  // the message, a WM_COMMAND notification code or a WM_NOTIFY code
    UINT id;    // the command or control identifier; unused for Message and Reflected
    // Calls the handler on the object; wParam and lParam are those of the
    // message (for UpdateCommand, lParam is the CommandUpdate).
    std::function<void(Window &, WPARAM, LPARAM, LRESULT &)> run;
};

class MessageMap {
   public:
    MessageMap(const MessageMap *base, std::initializer_list<MessageEntry> entries) : base_(base), entries_(entries) {}
    // The first matching row of this table or, failing that, of the bases.
    const MessageEntry *Find(MessageEntry::Kind kind, UINT code, UINT id) const;

   private:
    const MessageMap *base_;
    std::vector<MessageEntry> entries_;
};

// Rows for the handlers of class T.
template <class T>
struct Handlers {
    using Kind = MessageEntry::Kind;

    // LRESULT T::Handler(WPARAM, LPARAM)
    static MessageEntry Message(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
        return {Kind::Message, message, 0, [handler](Window &w, WPARAM wp, LPARAM lp, LRESULT &result) {
                    result = (static_cast<T &>(w).*handler)(wp, lp);
                }};
    }
    // A menu or accelerator command, or BN_CLICKED from a button: void T::Handler()
    static MessageEntry Command(UINT id, void (T::*handler)()) {
        return {Kind::Command, 0, id,
                [handler](Window &w, WPARAM, LPARAM, LRESULT &) { (static_cast<T &>(w).*handler)(); }};
    }
    // A WM_COMMAND notification code from the control id: void T::Handler()
    static MessageEntry ControlCode(UINT code, UINT id, void (T::*handler)()) {
        return {Kind::ControlCode, code, id,
                [handler](Window &w, WPARAM, LPARAM, LRESULT &) { (static_cast<T &>(w).*handler)(); }};
    }
    // A WM_NOTIFY code from the control id: void T::Handler(NMHDR *, LRESULT *)
    static MessageEntry Notify(UINT code, UINT id, void (T::*handler)(NMHDR *, LRESULT *)) {
        return {Kind::Notify, code, id, [handler](Window &w, WPARAM, LPARAM lp, LRESULT &result) {
                    (static_cast<T &>(w).*handler)(reinterpret_cast<NMHDR *>(lp), &result);
                }};
    }
    // A WM_NOTIFY code that the parent reflects to this control's own object.
    static MessageEntry Reflected(UINT code, void (T::*handler)(NMHDR *, LRESULT *)) {
        return {Kind::Reflected, code, 0, [handler](Window &w, WPARAM, LPARAM lp, LRESULT &result) {
                    (static_cast<T &>(w).*handler)(reinterpret_cast<NMHDR *>(lp), &result);
                }};
    }
    // The state of a command's menu item before its popup opens.
    static MessageEntry UpdateCommand(UINT id, void (T::*handler)(CommandUpdate &)) {
        return {Kind::UpdateCommand, 0, id, [handler](Window &w, WPARAM, LPARAM lp, LRESULT &) {
                    (static_cast<T &>(w).*handler)(*reinterpret_cast<CommandUpdate *>(lp));
                }};
    }
};
