#include "appearance/menu_background.h"

#include "appearance/dark_mode.h"
#include "common/solid_brush.h"
#include "common/system_library.h"

namespace {

using SetMenuInfoFn = BOOL(WINAPI*)(HMENU, LPCMENUINFO);

}  // namespace

void SetMenuBackground(HMENU menu) {
    // Absent before Windows 98 and 2000: the menus then keep the system's background.
    static const auto setMenuInfo = UserFunction<SetMenuInfoFn>("SetMenuInfo");
    if (menu == nullptr || setMenuInfo == nullptr) {
        return;
    }
    HBRUSH brush = SolidBrushFor(IsDarkModeActive() ? kDarkBackground : GetSysColor(COLOR_MENU));
    if (brush == nullptr) {
        return;
    }
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND | MIM_APPLYTOSUBMENUS;
    info.hbrBack = brush;
    setMenuInfo(menu, &info);
}
