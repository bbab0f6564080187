// The .reg reader takes any bytes without crashing, and what it read writes
// back as text that reads to the same tree, cleanly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "registry/reg_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    using namespace wince::registry;
    ParsedRegistry first = ParseRegText(std::string_view(reinterpret_cast<const char *>(data), size));
    std::string text = SerializeTree(first.tree);
    ParsedRegistry second = ParseRegText(text);
    if (!second.damagedLines.empty()) {
        fprintf(stderr, "written text has damaged line %d:\n%s\n", second.damagedLines.front(), text.c_str());
        abort();
    }
    if (!SameTree(first.tree, second.tree)) {
        fprintf(stderr, "round trip changed the tree:\n%s\n", text.c_str());
        abort();
    }
    if (SerializeTree(second.tree) != text) abort();
    return 0;
}
