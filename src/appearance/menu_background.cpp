// The solid background of the menus the menu bar opens (SetMenuBackground, menu_bar.h).
#include <utility>
#include <vector>

#include "appearance/dark_mode.h"
#include "appearance/menu_bar.h"
#include "common/scoped_handle.h"
#include "common/system_library.h"

namespace {

using SetMenuInfoFn = BOOL(WINAPI*)(HMENU, LPCMENUINFO);

// Absent before Windows 98 and 2000: the menus then keep the system's background.
SetMenuInfoFn SetMenuInfoFunction() {
    static HMODULE user = LoadSystemLibrary(L"USER32.DLL");
    static SetMenuInfoFn function =
        user != nullptr ? reinterpret_cast<SetMenuInfoFn>(reinterpret_cast<void*>(GetProcAddress(user, "SetMenuInfo")))
                        : nullptr;
    return function;
}

// One brush per colour for the life of the process: menus given a brush keep using it.
HBRUSH BrushFor(COLORREF colour) {
    static std::vector<std::pair<COLORREF, ScopedGdiObject>> brushes;
    for (const auto& [known, brush] : brushes) {
        if (known == colour) {
            return static_cast<HBRUSH>(brush.Get());
        }
    }
    HBRUSH brush = CreateSolidBrush(colour);
    if (brush != nullptr) {
        brushes.emplace_back(colour, ScopedGdiObject(brush));
    }
    return brush;
}

}  // namespace

void SetMenuBackground(HMENU menu) {
    SetMenuInfoFn setMenuInfo = SetMenuInfoFunction();
    if (menu == nullptr || setMenuInfo == nullptr) {
        return;
    }
    HBRUSH brush = BrushFor(IsDarkModeActive() ? kDarkBackground : GetSysColor(COLOR_MENU));
    if (brush == nullptr) {
        return;
    }
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = brush;
    setMenuInfo(menu, &info);
}
