// The document scan on generated trees of 1,000 to 100,000 files, flat and
// nested: a whole Rescan, the first one (folders read from the host) and the
// next one (folders known to the platform's listing cache), next to one
// `find DIR -type f` (reads folders only) and one `find -printf '%s %T@'`
// (reads folders and stats every file, as the scan must), over the same
// tree (each rescan and `find -printf` timed in turns); the heap each
// document costs beyond its strings, and each cached folder entry.
#include <malloc.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench_support.h"
#include "catalogue/Rescan.h"
#include "core/unicode.h"
#include "file/listing_cache.h"
#include "item/ItemWindow.h"

namespace fs = std::filesystem;

namespace {

// The item object reads its settings while the program starts, so the
// scratch device must be chosen before any other static object is built.
struct ScratchDevice {
    fs::path root;
    ScratchDevice() {
        // Memory makes the trees quickly; both sides read the same cached tree.
        std::error_code ec;
        std::string pattern =
            (fs::is_directory("/dev/shm", ec) ? "/dev/shm" : "/tmp") + std::string("/pelloran-bench-XXXXXX");
        if (mkdtemp(pattern.data())) {
            root = pattern;
            setenv("WINCE_DEVICE", pattern.c_str(), 1);
        }
    }
    ~ScratchDevice() {
        std::error_code ec;
        if (!root.empty()) fs::remove_all(root, ec);
    }
};
__attribute__((init_priority(101))) ScratchDevice scratch;

// Six of every eight files are of a kind the item knows.
constexpr const char *kExtensions[] = {".txt", ".psw", ".doc", ".pxl", ".pwi", ".wav", ".jpg", ".bmp"};
constexpr int kFilesPerFolder = 50;

struct Tree {
    std::string deviceFolder;  // "\bench\nested-10000"
    fs::path hostFolder;
};

// Flat: every file in one folder. Nested: 50 files a folder, the folders
// spelled by the digits of their number, so the tree is several levels deep.
Tree MakeTree(int files, bool nested) {
    std::string name = (nested ? "nested-" : "flat-") + std::to_string(files);
    Tree tree{"\\bench\\" + name, scratch.root / "fs" / "bench" / name};
    for (int i = 0; i < files; ++i) {
        fs::path folder = tree.hostFolder;
        if (nested)
            for (char digit : std::to_string(i / kFilesPerFolder)) folder /= std::string("d") + digit;
        if (i % kFilesPerFolder == 0 || !nested) fs::create_directories(folder);
        std::ofstream(folder / ("Document " + std::to_string(i) + kExtensions[i % 8])) << "text";
    }
    return tree;
}

void UseTree(const Tree &tree, bool nested, bool allFiles) {
    FolderSettings &s = itemWindow.settings;
    s.SetFolder(wince::FromUtf8(tree.deviceFolder));
    s.SetSubfolders(nested);
    s.SetShowAll(allFiles);
    s.SetShowText(true), s.SetShowPocketWord(true), s.SetShowPocketExcel(true), s.SetShowNotes(true);
}

size_t HeapInUse() {
    return mallinfo2().uordblks;
}

// The heap a string's characters take, besides the string object itself.
size_t CharacterBlock(const std::u16string &s, const DocumentEntry *owner) {
    const char *data = reinterpret_cast<const char *>(s.data());
    const char *self = reinterpret_cast<const char *>(owner);
    if (data >= self && data < self + sizeof(DocumentEntry)) return 0;  // held inside the object
    return malloc_usable_size(const_cast<char *>(data)) + sizeof(size_t);
}

// Heap bytes per document beyond its strings (the string objects and their
// characters), the array slot included.
double BytesPerDocument(HWND window) {
    Rescan(window);  // grows the array first, so it is not counted twice
    itemWindow.ClearCatalogue();
    size_t before = HeapInUse();
    Rescan(window);
    size_t heap = HeapInUse() - before;
    const DocumentCatalogue &list = itemWindow.catalogue;
    size_t strings = 0;
    for (int i = 0; i < list.Count(); ++i) {
        const DocumentEntry *e = list.Entry(i);
        for (const std::u16string *s : {&e->folder, &e->name, &e->extension, &e->sizeText, &e->dateText})
            strings += sizeof(std::u16string) + CharacterBlock(*s, e);
    }
    size_t array = size_t(list.Capacity()) * sizeof(DocumentEntry *);
    return list.Count() ? double(heap + array - strings) / list.Count() : 0;
}

// Heap bytes the listing cache holds per entry after a cold rescan.
double BytesPerCachedEntry(HWND window) {
    Rescan(window);
    wince::DropListingCache();
    size_t before = HeapInUse();
    Rescan(window);
    size_t heap = HeapInUse() - before;
    size_t entries = wince::CachedListingEntries();
    return entries ? double(heap) / entries : 0;
}

}  // namespace

// Arguments, when given, choose the tree sizes: `scan_bench 100000`.
int main(int argc, char **argv) {
    bench::StayOnThisCpu();
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) sizes.push_back(atoi(argv[i]));
    if (sizes.empty()) sizes = {1000, 10000, 100000};
    if (scratch.root.empty()) {
        fprintf(stderr, "scan_bench: cannot make a scratch device in /tmp\n");
        return 1;
    }
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = u"ScanBench";
    RegisterClassW(&wc);
    HWND window = CreateWindowExW(0, u"ScanBench", u"", WS_POPUP, 0, 0, 240, 100, nullptr, nullptr, nullptr, nullptr);

    printf("%-11s %-9s %7s %10s %10s %10s %10s %7s %7s %7s %9s %9s\n", "tree", "kinds", "listed", "first", "next",
           "find", "printf", "nx/find", "nx/prf", "1st/prf", "bytes/doc", "B/cached");
    bool nextWithin = true, firstWithin = true, bytesWithin = true;
    for (int files : sizes) {
        for (bool nested : {false, true}) {
            Tree tree = MakeTree(files, nested);
            const int runs = files >= 100000 ? 7 : 21;
            const std::string host = tree.hostFolder.string();
            double find = bench::MedianSeconds(runs, [&] { bench::RunQuietly({"find", host, "-type", "f"}); });
            auto findPrintf = [&] { bench::RunQuietly({"find", host, "-type", "f", "-printf", "%s %T@\\n"}); };
            for (bool allFiles : {false, true}) {
                UseTree(tree, nested, allFiles);
                // The first rescan and its anchor take turns.
                const bench::Turns turns =
                    bench::TimeInTurns(runs, findPrintf, wince::DropListingCache, [&] { Rescan(window); });
                const double findStat = turns.a, first = turns.b;
                const bench::Turns nextTurns = bench::TimeInTurns(
                    runs, findPrintf, [] {}, [&] { Rescan(window); });
                const double next = nextTurns.b;
                int listed = itemWindow.catalogue.Count();
                double bytes = BytesPerDocument(window);
                double cachedBytes = BytesPerCachedEntry(window);
                nextWithin = nextWithin && nextTurns.ratio <= 1.5;
                firstWithin = firstWithin && turns.ratio <= 1.5;
                bytesWithin = bytesWithin && bytes < 200;
                printf("%-11s %-9s %7d %10s %10s %10s %10s %6.2fx %6.2fx %6.2fx %9.1f %9.1f\n",
                       ((nested ? "nested " : "flat ") + std::to_string(files)).c_str(), allFiles ? "all" : "each kind",
                       listed, bench::Millis(first).c_str(), bench::Millis(next).c_str(), bench::Millis(find).c_str(),
                       bench::Millis(findStat).c_str(), next / find, nextTurns.ratio, turns.ratio, bytes, cachedBytes);
            }
            itemWindow.ClearCatalogue();
            wince::DropListingCache();
            fs::remove_all(tree.hostFolder);
        }
    }
    printf("target: the next whole rescan within 1.5x one find -printf pass: %s\n", nextWithin ? "met" : "NOT met");
    printf("target: the first whole rescan within 1.5x one find -printf pass: %s\n", firstWithin ? "met" : "NOT met");
    printf("target: under 200 bytes a document beyond its strings: %s\n", bytesWithin ? "met" : "NOT met");
    DestroyWindow(window);
    return 0;
}
