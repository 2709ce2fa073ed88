// The dialog repairs a Run value that names another exe: one left for Velmora.exe must survive
// a test process that builds the real dialog.
#pragma once
#include <windows.h>

class RunValueKeeper {
  public:
    RunValueKeeper() {
        kept_ = RegGetValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", RRF_RT_REG_SZ, nullptr, data_, &bytes_) == 0;
    }
    ~RunValueKeeper() {
        if (kept_) {
            RegSetKeyValueW(HKEY_CURRENT_USER, kRunKey, L"Velmora", REG_SZ, data_, bytes_);
        }
    }
    RunValueKeeper(const RunValueKeeper&) = delete;
    RunValueKeeper& operator=(const RunValueKeeper&) = delete;

  private:
    static constexpr const wchar_t* kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    wchar_t data_[1024] = L"";
    DWORD bytes_ = sizeof(data_);
    bool kept_ = false;
};
