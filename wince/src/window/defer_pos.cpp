// BeginDeferWindowPos, DeferWindowPos, EndDeferWindowPos: positions
// collected under a handle and carried out together with SetWindowPos.
#include <windows.h>

#include <map>
#include <mutex>
#include <vector>

namespace {

struct DeferredMoves {
    std::vector<WINDOWPOS> moves;
};

std::mutex tableLock;
std::map<HDWP, DeferredMoves *> table;

DeferredMoves *Find(HDWP handle) {
    auto it = table.find(handle);
    return it == table.end() ? nullptr : it->second;
}

constexpr UINT kKeptUnlessAsked = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE;
constexpr UINT kAddedWhenAsked = SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED;

}  // namespace

HDWP WINAPI BeginDeferWindowPos(int nNumWindows) {
    if (nNumWindows < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    auto *moves = new DeferredMoves;
    moves->moves.reserve(static_cast<size_t>(nNumWindows));
    HDWP handle = static_cast<HDWP>(moves);
    std::lock_guard<std::mutex> hold(tableLock);
    table[handle] = moves;
    return handle;
}

// A second move of the same window merges into the first; a window that is
// not valid by the end is skipped then.
HDWP WINAPI DeferWindowPos(HDWP hWinPosInfo, HWND hWnd, HWND hWndInsertAfter, int x, int y, int cx, int cy,
                           UINT uFlags) {
    std::lock_guard<std::mutex> hold(tableLock);
    DeferredMoves *moves = Find(hWinPosInfo);
    if (!moves) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    for (WINDOWPOS &pos : moves->moves) {
        if (pos.hwnd != hWnd) continue;
        if (!(uFlags & SWP_NOMOVE)) pos.x = x, pos.y = y;
        if (!(uFlags & SWP_NOSIZE)) pos.cx = cx, pos.cy = cy;
        if (!(uFlags & SWP_NOZORDER)) pos.hwndInsertAfter = hWndInsertAfter;
        pos.flags &= uFlags | ~kKeptUnlessAsked;
        pos.flags |= uFlags & kAddedWhenAsked;
        return hWinPosInfo;
    }
    moves->moves.push_back(WINDOWPOS{hWnd, hWndInsertAfter, x, y, cx, cy, uFlags});
    return hWinPosInfo;
}

BOOL WINAPI EndDeferWindowPos(HDWP hWinPosInfo) {
    DeferredMoves *moves;
    {
        std::lock_guard<std::mutex> hold(tableLock);
        moves = Find(hWinPosInfo);
        if (!moves) {
            SetLastError(ERROR_INVALID_HANDLE);
            return FALSE;
        }
        table.erase(hWinPosInfo);
    }
    for (const WINDOWPOS &pos : moves->moves)
        if (IsWindow(pos.hwnd)) SetWindowPos(pos.hwnd, pos.hwndInsertAfter, pos.x, pos.y, pos.cx, pos.cy, pos.flags);
    delete moves;
    return TRUE;
}
