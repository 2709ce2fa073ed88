// A Velmora started for a dialog test: its own folder and INI file, and its settings dialog.
#pragma once
#include <windows.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "e2e/support/dialog_driver.h"
#include "e2e/support/velmora_app.h"

namespace e2e {

using IniValue = std::pair<const wchar_t*, const wchar_t*>;

class DialogApp {
  public:
    // Writes the given INI values before the first start.
    DialogApp(std::initializer_list<IniValue> ini = {});  // NOLINT: implicit so a braced list reads well
    DialogApp(const DialogApp&) = delete;
    DialogApp& operator=(const DialogApp&) = delete;

    VelmoraApp& App() { return app_; }
    std::wstring Ini(const wchar_t* key) const { return ReadIniValue(app_.IniPath(), key); }

    // Starts the program and waits for its dialog to exist (and, unless `hidden`, to show).
    // Null when it did not come up in time.
    HWND Start(const std::wstring& arguments = L"",
               const std::vector<std::wstring>& environment = {},
               bool hidden = false);
    // Ends the running instance (closing its main window) and starts it again on the same INI
    // file.
    HWND Restart(bool hidden = false);
    const DialogDriver& Dialog() const { return dialog_; }

  private:
    VelmoraApp app_;
    DialogDriver dialog_{nullptr};
};

}  // namespace e2e
