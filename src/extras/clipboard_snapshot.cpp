#include "extras/clipboard_snapshot.h"

#include <cstring>

namespace {

constexpr int kOpenAttempts = 10;
constexpr DWORD kOpenRetryMs = 20;

bool IsDib(UINT format) {
    return format == CF_DIB || format == CF_DIBV5;
}

// Formats the system makes up from one that the snapshot keeps: put that one back and the
// system makes them again. A picture is kept as a DIB, the first one listed (the system lists
// what it makes up after what was put there): a device-dependent bitmap made from it would
// lose its alpha channel and its colour depth.
bool MadeUp(UINT format, bool hasUnicodeText, bool hasDib, bool dibKept) {
    if (format == CF_TEXT || format == CF_OEMTEXT) {
        return hasUnicodeText;
    }
    return (format == CF_BITMAP && hasDib) || (IsDib(format) && dibKept);
}

HANDLE CopyGlobal(HANDLE source) {
    SIZE_T size = GlobalSize(source);
    const void* from = GlobalLock(source);
    if (from == nullptr) {
        return nullptr;
    }
    HGLOBAL copy = GlobalAlloc(GMEM_MOVEABLE, size);
    void* to = copy != nullptr ? GlobalLock(copy) : nullptr;
    if (to != nullptr) {
        std::memcpy(to, from, size);
        GlobalUnlock(copy);
    } else if (copy != nullptr) {
        GlobalFree(copy);
        copy = nullptr;
    }
    GlobalUnlock(source);
    return copy;
}

HANDLE CopyFormat(UINT format, HANDLE data) {
    switch (format) {
        case CF_BITMAP:
            return CopyImage(data, IMAGE_BITMAP, 0, 0, 0);
        case CF_ENHMETAFILE:
            return CopyEnhMetaFile(static_cast<HENHMETAFILE>(data), nullptr);
        case CF_PALETTE:
        case CF_METAFILEPICT:  // holds a metafile handle that a byte copy would share
        case CF_OWNERDISPLAY:
        case CF_DSPBITMAP:
        case CF_DSPENHMETAFILE:
        case CF_DSPMETAFILEPICT:
            return nullptr;  // GDI objects without a copy call, or drawn by the owner alone
        default:
            if (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST) {
                return nullptr;
            }
            return CopyGlobal(data);
    }
}

void FreeFormat(UINT format, HANDLE data) {
    if (format == CF_BITMAP) {
        DeleteObject(data);
    } else if (format == CF_ENHMETAFILE) {
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
    } else {
        GlobalFree(data);
    }
}

}  // namespace

OpenedClipboard::OpenedClipboard(HWND owner, int attempts) {
    for (int attempt = 0; attempt < attempts && !open_; ++attempt) {
        if (attempt > 0) {
            Sleep(kOpenRetryMs);
        }
        open_ = OpenClipboard(owner) != 0;
    }
}

OpenedClipboard::~OpenedClipboard() {
    if (open_) {
        CloseClipboard();
    }
}

ClipboardSnapshot::~ClipboardSnapshot() {
    Free();
}

void ClipboardSnapshot::Free() {
    for (const Format& format : formats_) {
        FreeFormat(format.id, format.data);
    }
    formats_.clear();
}

bool ClipboardSnapshot::Take(HWND owner) {
    Free();
    OpenedClipboard clipboard(owner, kOpenAttempts);
    if (!clipboard) {
        return false;
    }
    const bool hasUnicodeText = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    const bool hasDib = IsClipboardFormatAvailable(CF_DIB) != 0 || IsClipboardFormatAvailable(CF_DIBV5) != 0;
    bool dibKept = false;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        HANDLE data = MadeUp(format, hasUnicodeText, hasDib, dibKept) ? nullptr : GetClipboardData(format);
        HANDLE copy = data != nullptr ? CopyFormat(format, data) : nullptr;
        if (copy != nullptr) {
            formats_.push_back({format, copy});
            dibKept = dibKept || IsDib(format);
        }
    }
    return true;
}

bool ClipboardSnapshot::Restore(HWND owner) {
    OpenedClipboard clipboard(owner, kOpenAttempts);
    if (!clipboard) {
        return false;
    }
    EmptyClipboard();
    for (const Format& format : formats_) {
        if (SetClipboardData(format.id, format.data) == nullptr) {
            FreeFormat(format.id, format.data);
        }
    }
    formats_.clear();
    return true;
}
