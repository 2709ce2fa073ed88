// The manifest Windows reads from the built exe: Wine ignores most of it, so it is read back
// here the way the loader finds it (RT_MANIFEST, id 1).
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "support/program_resources.h"

namespace {

std::string ProgramManifest() {
    HMODULE exe = LoadProgramResources();
    if (exe == nullptr) {
        return "";
    }
    std::string text;
    // What the loader reads: RT_MANIFEST (24), CREATEPROCESS_MANIFEST_RESOURCE_ID (1).
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    HGLOBAL loaded = found != nullptr ? LoadResource(exe, found) : nullptr;
    if (const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr) {
        text.assign(static_cast<const char*>(bytes), SizeofResource(exe, found));
    }
    FreeLibrary(exe);
    return text;
}

// The text between the first `open` tag (with any attributes) and its `close` tag.
std::string Element(const std::string& text, const std::string& open, const std::string& close) {
    const size_t start = text.find(open);
    const size_t end = start == std::string::npos ? std::string::npos : text.find(close, start);
    return end == std::string::npos ? "" : text.substr(start, end - start);
}

}  // namespace

// Without a Windows 8 entry Windows treats the program as written for Vista/7 and gives it no
// layered child windows, so the desktop colour inside "Program Manager" would not be drawn.
TEST(ProgramManifest, DeclaresEveryWindowsFromVistaToElevenRunsAsInvokerWithCommonControls6) {
    const std::string manifest = ProgramManifest();
    ASSERT_FALSE(manifest.empty());

    const std::string application = Element(
        Element(manifest, "<compatibility xmlns=\"urn:schemas-microsoft-com:compatibility.v1\">", "</compatibility>"),
        "<application>", "</application>");
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}",     // Vista
                           "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",     // 7
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",     // 8
                           "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",     // 8.1
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {  // 10 and 11
        EXPECT_NE(application.find(std::string("<supportedOS Id=\"") + id + "\"/>"), std::string::npos) << id;
    }

    EXPECT_NE(Element(manifest, "<requestedPrivileges>", "</requestedPrivileges>")
                  .find("<requestedExecutionLevel level=\"asInvoker\" uiAccess=\"false\"/>"),
              std::string::npos);
    const std::string dependency = Element(manifest, "<dependentAssembly>", "</dependentAssembly>");
    EXPECT_NE(dependency.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(dependency.find("publicKeyToken=\"6595b64144ccf1df\""), std::string::npos);
}
