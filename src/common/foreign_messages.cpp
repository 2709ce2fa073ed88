#include "common/foreign_messages.h"

#include <cstdint>

namespace {

constexpr DWORD kWritableProtection =
    PAGE_READWRITE | PAGE_WRITECOPY | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;

bool Writable(const MEMORY_BASIC_INFORMATION& region) {
    return region.State == MEM_COMMIT && (region.Protect & kWritableProtection) != 0 &&
           (region.Protect & (PAGE_GUARD | PAGE_NOACCESS)) == 0;
}

// Every byte of [start, start + size) lies in committed, writable regions.
bool WritableRange(uintptr_t start, size_t size) {
    const uintptr_t end = start + size;
    if (end < start) {
        return false;
    }
    for (uintptr_t at = start; at < end;) {
        MEMORY_BASIC_INFORMATION region = {};
        if (VirtualQuery(reinterpret_cast<const void*>(at), &region, sizeof(region)) != sizeof(region) ||
            !Writable(region)) {
            return false;
        }
        const uintptr_t regionEnd = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (regionEnd <= at) {
            return false;
        }
        at = regionEnd;
    }
    return true;
}

bool OwnedBy(HWND root, HWND window) {
    return window != nullptr && (window == root || IsChild(root, window));
}

// `size` bytes at `lParam` that a handler may read and write, or null.
void* OwnPointer(LPARAM lParam, size_t size) {
    const auto start = static_cast<uintptr_t>(lParam);
    // The structures handed over begin with a handle.
    if (start == 0 || start % alignof(HWND) != 0) {
        return nullptr;
    }
    return WritableRange(start, size) ? reinterpret_cast<void*>(start) : nullptr;
}

}  // namespace

bool IsForbiddenPostedMessage(const MSG& message) {
    return message.message == WM_NOTIFY;
}

NMHDR* TrustedNotification(HWND receiver, LPARAM lParam, size_t size) {
    auto* header = static_cast<NMHDR*>(OwnPointer(lParam, size < sizeof(NMHDR) ? sizeof(NMHDR) : size));
    if (header == nullptr || receiver == nullptr) {
        return nullptr;
    }
    HWND from = header->hwndFrom;
    if (from == nullptr || GetWindowThreadProcessId(from, nullptr) != GetCurrentThreadId()) {
        return nullptr;
    }
    HWND root = GetAncestor(receiver, GA_ROOT);
    if (OwnedBy(root, from) || OwnedBy(root, GetWindow(from, GW_OWNER))) {
        return header;
    }
    return nullptr;
}

bool IsForeignNotification(HWND receiver, UINT message, LPARAM lParam) {
    return message == WM_NOTIFY && TrustedNotification(receiver, lParam) == nullptr;
}
