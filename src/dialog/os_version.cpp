#include "dialog/os_version.h"

#include <windows.h>

#include "common/system_library.h"

namespace {

using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOEXW*);

// GetVersionExW is deprecated because of the shims, which is exactly why it is only a
// fall-back here.
#if defined(_MSC_VER)
#pragma warning(push)
#pragma warning(disable : 4996)
#endif
bool AskKernel(OSVERSIONINFOEXW& info) {
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)) != 0;
}

int ReportedMajorVersion() {
    OSVERSIONINFOW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return GetVersionExW(&info) != 0 ? static_cast<int>(info.dwMajorVersion) : 0;
}
#if defined(_MSC_VER)
#pragma warning(pop)
#endif

bool AskNtdll(OSVERSIONINFOEXW& info) {
    HMODULE ntdll = LoadSystemLibrary(L"ntdll.dll");
    if (ntdll == nullptr) {
        return false;
    }
    auto getVersion =
        reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(GetProcAddress(ntdll, "RtlGetVersion")));
    info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    return getVersion != nullptr && getVersion(&info) == 0 && info.dwMajorVersion != 0;
}

OsVersion ReadOsVersion() {
    OsVersion version;
    version.reportedMajor = ReportedMajorVersion();
    OSVERSIONINFOEXW info = {};
    // ntdll's answer exists from Windows 2000 on (major version 5).
    if (!(version.reportedMajor >= 5 && AskNtdll(info)) && !AskKernel(info)) {
        return version;
    }
    version.major = static_cast<int>(info.dwMajorVersion);
    version.minor = static_cast<int>(info.dwMinorVersion);
    version.build = static_cast<int>(info.dwBuildNumber);
    return version;
}

}  // namespace

const OsVersion& QueryOsVersion() {
    static const OsVersion version = ReadOsVersion();
    return version;
}
