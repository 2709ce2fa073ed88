// What every end of the program leaves behind: no tray icon, and the desktop icons and the
// taskbars visible. The order is fixed: the tray icon goes first, the desktop comes back last.
#pragma once

// Stops every further hide (on any thread), removes the tray icon (and its thread), then
// shows the icons and the taskbars and waits a moment for a busy shell to have shown them.
// Harmless when called more than once.
void RestoreAtExit();

// The end the user (Exit) or another instance (the exit word) asks for: the same restore at
// once, without the wait, then the message loop ends with `exitCode`. The run's end follows
// and restores again, waiting then.
void EndProgram(int exitCode);

// Runs RestoreAtExit when the program's run function returns, whichever way it returns.
class ScopedExitRestore {
  public:
    ScopedExitRestore() = default;
    ScopedExitRestore(const ScopedExitRestore&) = delete;
    ScopedExitRestore& operator=(const ScopedExitRestore&) = delete;
    ~ScopedExitRestore() { RestoreAtExit(); }
};
