// The manifest Windows reads from the built exe (RT_MANIFEST 24, id 1): Wine ignores most of
// it, so it is read back here.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/program_resources.h"

namespace {

std::string ProgramManifest() {
    HMODULE exe = LoadProgramResources();
    HRSRC found = exe != nullptr ? FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24)) : nullptr;
    std::string manifest;
    if (found != nullptr) {
        manifest.assign(static_cast<const char*>(LockResource(LoadResource(exe, found))), SizeofResource(exe, found));
    }
    if (exe != nullptr) {
        FreeLibrary(exe);
    }
    return manifest;
}

// The text between `open` and the `close` after it; empty where either is missing.
std::string Section(const std::string& text, const std::string& open, const std::string& close) {
    const size_t start = text.find(open);
    const size_t end = start == std::string::npos ? start : text.find(close, start);
    return end == std::string::npos ? std::string() : text.substr(start, end - start);
}

}  // namespace

// Without a Windows 8 entry Windows treats the program as written for Vista/7 and gives it no
// layered child windows, so the desktop colour inside "Program Manager" would not be drawn.
TEST(ProgramManifest, DeclaresEveryWindowsFromVistaToElevenRunsAsInvokerWithCommonControls6) {
    const std::string manifest = ProgramManifest();
    const std::string section =
        Section(manifest, "<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">", "</compatibility>");
    ASSERT_FALSE(section.empty());
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10 and 11
        EXPECT_NE(section.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    }
    EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
}

// Windows 10 1703 and later lay each window out at its monitor's DPI (v2); 1607 knows only
// per-monitor v1, 8.1 reads dpiAware's "true/pm", Vista to 8 take "true" of it. Each name
// counts only in its own namespace, inside the v3 application's windowsSettings.
TEST(ProgramManifest, DeclaresPerMonitorV2AwarenessWithTheOlderFallBacks) {
    const std::string application =
        Section(ProgramManifest(), "<asmv3:application xmlns:asmv3=\"urn:schemas-microsoft-com:asm.v3\">",
                "</asmv3:application>");
    const std::string settings = Section(application, "<asmv3:windowsSettings>", "</asmv3:windowsSettings>");
    ASSERT_FALSE(settings.empty());
    EXPECT_NE(
        settings.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
        std::string::npos);
    EXPECT_NE(settings.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">"
                            "PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
}
