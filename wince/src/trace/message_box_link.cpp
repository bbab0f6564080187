// Message boxes reach the trace through the dialog manager's observer,
// installed when the library loads.
#include "dialog/message_box.h"
#include "trace.h"

namespace {

const bool linked = [] {
    wince::SetMessageBoxObserver(&wince::TraceMessageBox);
    return true;
}();

}  // namespace
