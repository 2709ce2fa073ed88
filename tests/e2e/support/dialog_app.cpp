#include "e2e/support/dialog_app.h"

namespace e2e {

DialogApp::DialogApp(std::initializer_list<IniValue> ini) {
    for (const auto& [key, value] : ini) {
        WriteIniValue(app_.IniPath(), key, value);
    }
}

HWND DialogApp::Start(const std::wstring& arguments, const std::vector<std::wstring>& environment, bool hidden) {
    app_.Start(arguments, environment);
    HWND dialog = app_.WaitForDialog();
    dialog_ = DialogDriver(dialog);
    if (dialog == nullptr) {
        return nullptr;
    }
    // The slider is set up near the end of the initialisation; it stands at 0 before.
    if (!WaitUntil([&] { return dialog_.SliderPosition() > 0; }, 10000)) {
        return nullptr;
    }
    if (hidden) {
        return dialog;
    }
    return WaitUntil([&] { return dialog_.Visible(); }, 10000) ? dialog : nullptr;
}

HWND DialogApp::Restart(bool hidden) {
    if (app_.End() < 0) {
        app_.EndWithExitWord();
    }
    return Start(L"", {}, hidden);
}

}  // namespace e2e
