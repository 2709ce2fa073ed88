// A copy of what the clipboard holds, to give the user's content back after the shell's "cut"
// verb has replaced it.
#pragma once
#include <windows.h>

#include <vector>

// The clipboard opened for a scope, and closed again on every path. Another program may hold
// it for a moment: `attempts` tries, 20 ms apart.
class OpenedClipboard {
  public:
    explicit OpenedClipboard(HWND owner, int attempts = 1);
    ~OpenedClipboard();
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
    explicit operator bool() const { return open_; }

  private:
    bool open_ = false;
};

class ClipboardSnapshot {
  public:
    ClipboardSnapshot() = default;
    ~ClipboardSnapshot();
    ClipboardSnapshot(const ClipboardSnapshot&) = delete;
    ClipboardSnapshot& operator=(const ClipboardSnapshot&) = delete;

    // Copies every format held in memory, bitmaps and enhanced metafiles; formats that only
    // the clipboard's owner can draw or that the system makes up from others are left out.
    // False when the clipboard could not be opened.
    bool Take(HWND owner);
    // Empties the clipboard and puts the copies back; the clipboard owns them from then on.
    bool Restore(HWND owner);
    bool Empty() const { return formats_.empty(); }

  private:
    struct Format {
        UINT id;
        HANDLE data;
    };
    void Free();
    std::vector<Format> formats_;
};
