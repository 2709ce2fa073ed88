// The process-wide record of Velmora's options. Every field is a signed 32-bit integer named
// after its INI key (section "Program" of the INI file beside the exe); the initial values
// are the defaults used when a key is missing or empty.
#pragma once

struct Settings {
    int auto_hide_icons_sec = 5;
    int topmost = 0;
    int hide_taskbar = 0;
    int task_bar_ico_rule = 0;
    int show_icons_mouse_move = 0;
    int show_icons_win_d = 0;
    int hide_icons_by_m_mouse = 0;
    int show_icons_by_m_mouse = 1;
    int hide_at_programstart = 0;
    int m_wallpaper_color = -1;
    int show_icons_by_contextmenu = 1;
    int show_icons_by_r_mouse = 1;
    int show_icons_by_l_mouse = 1;
    int tray_if_minimize = 1;
    int start_tray = 0;
    int m_disable = 0;
    int disable_permanently = 0;
    int disable_dark_theme = 0;
    int soft_paint = 1;
    int lng = 1;
    // The key that hides or shows the icons at once, as the hot-key control reports it; 0: none.
    int hotkey = 0;
    // A double-click on the empty desktop hides the visible icons at once.
    int hide_icons_by_dblclick = 0;
    // Not an INI key: whether the start-with-Windows Run value is present.
    int autostart = 0;
};

// m_wallpaper_color when no colour is chosen.
inline constexpr int kNoWallpaperColour = -1;

// Read-only for the program: every change goes through the setters of settings_table.h, which
// write the INI key along with the field.
extern const Settings& settings;

// Converts an INI value the way the C library's atol does (leading blanks, optional sign,
// decimal digits up to the first non-digit, no digits gives 0), except that values beyond
// the 32-bit range saturate instead of wrapping.
int ParseIntSetting(const wchar_t* text);
