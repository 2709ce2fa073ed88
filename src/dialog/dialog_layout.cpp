#include "dialog/dialog_layout.h"

#include <utility>

#include "common/program.h"
#include "common/system_library.h"
#include "common/window_dpi.h"

namespace {

using AdjustForDpiFn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);

// More controls than the program's largest template has.
constexpr int kMaxItems = 48;

struct TemplateItem {
    short x, y, cx, cy;
    WORD id;
    WORD picture;  // the resource of an icon or bitmap control, 0 for a text
};

// A dialog template's size and controls in dialog units, and its font at one DPI with the
// dialog units of that font.
struct TemplateAtDpi {
    short cx = 0;
    short cy = 0;
    int count = 0;
    TemplateItem items[kMaxItems] = {};
    ScopedGdiObject font;
    SIZE units = {};
};

// Past a name, an ordinal (0xFFFF and the number) or nothing (0); the ordinal, else 0.
WORD SkipNameOrOrdinal(const WORD*& at) {
    if (*at == 0xFFFF) {
        at += 2;
        return at[-1];
    }
    while (*at++ != 0) {
    }
    return 0;
}

// The dialog units of `font` as the dialog manager measures them: the average width of the
// Latin letters, and their height.
SIZE BaseUnits(HGDIOBJ font) {
    ScreenDc screen;
    ScopedSelect selected(screen.Get(), font);
    SIZE extent = {};
    // The letters are the same in every code page; their narrow text is half as long in the exe.
    GetTextExtentPoint32A(screen.Get(), "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz", 52, &extent);
    return {(extent.cx / 26 + 1) / 2, extent.cy};
}

// Reads the program's own DLGTEMPLATEEX (the layout windres and rc write for DIALOGEX) with
// its font, and makes that font at `dpi` as the dialog manager made the dialog's at its start.
bool ReadTemplateAtDpi(HWND dialog, int templateId, UINT dpi, TemplateAtDpi& read) {
    HRSRC found = FindResourceW(ProgramInstance(), MAKEINTRESOURCEW(templateId), RT_DIALOG);
    const auto* base =
        found != nullptr ? static_cast<const WORD*>(LockResource(LoadResource(ProgramInstance(), found))) : nullptr;
    auto startFont = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (base == nullptr || base[0] != 1 || base[1] != 0xFFFF || (base[6] & DS_SETFONT) == 0 || startFont == nullptr) {
        return false;
    }
    const int count = base[8];
    read.cx = static_cast<short>(base[11]);
    read.cy = static_cast<short>(base[12]);
    const WORD* at = base + 13;
    for (int skip = 0; skip < 3; ++skip) {
        SkipNameOrOrdinal(at);  // menu, class, title
    }
    read.font.Reset(FontOfHeight(startFont, -MulDiv(*at, static_cast<int>(dpi), 72)));
    at += 3;                // point size, weight, italic and character set
    SkipNameOrOrdinal(at);  // typeface
    for (read.count = 0; read.count < count && read.count < kMaxItems; ++read.count) {
        at = base + ((at - base + 1) & ~1);  // each control starts on a DWORD
        TemplateItem& item = read.items[read.count];
        item = {static_cast<short>(at[6]),
                static_cast<short>(at[7]),
                static_cast<short>(at[8]),
                static_cast<short>(at[9]),
                at[10],
                0};
        at += 12;               // help id, extended style, style, place, size, id
        SkipNameOrOrdinal(at);  // class
        item.picture = SkipNameOrOrdinal(at);
        at += 1 + (*at + 1) / 2;  // creation data
    }
    if (!read.font) {
        return false;
    }
    read.units = BaseUnits(read.font.Get());
    return true;
}

int ScaledX(const TemplateAtDpi& read, short x) {
    return MulDiv(x, read.units.cx, 4);
}

int ScaledY(const TemplateAtDpi& read, short y) {
    return MulDiv(y, read.units.cy, 8);
}

// The first control of the template with `id` not placed yet; -1 for none.
int NextItemWithId(const TemplateAtDpi& read, const bool* placed, WORD id) {
    for (int index = 0; index < read.count; ++index) {
        if (!placed[index] && read.items[index].id == id) {
            return index;
        }
    }
    return -1;
}

// A picture control (a static with a resource for its text) sizes itself to its picture: the
// icon is loaded at the icon size of `dpi`.
void TakePictureAgain(HWND control, WORD picture, UINT dpi, DpiLayoutObjects& objects) {
    const LONG type = GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK;
    if (type == SS_ICON) {
        ScopedIcon icon(LoadIconAtSize(ProgramInstance(), picture, SystemMetricForDpi(SM_CXICON, dpi)));
        SendMessageW(control, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
        objects.icon = std::move(icon);  // the one it replaces is ours, or the start's shared one
    } else if (type == SS_BITMAP) {
        HANDLE bitmap = LoadImageW(ProgramInstance(), MAKEINTRESOURCEW(picture), IMAGE_BITMAP, 0, 0, 0);
        auto previous = reinterpret_cast<HGDIOBJ>(
            SendMessageW(control, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap)));
        if (previous != nullptr && previous != bitmap) {
            DeleteObject(previous);
        }
    }
}

}  // namespace

DpiBehaviourFn setDialogDpiBehaviour = nullptr;
DpiBehaviourFn setControlDpiBehaviour = nullptr;

void TakeOverDpiScaling(HWND dialog) {
    if (setDialogDpiBehaviour == nullptr || setControlDpiBehaviour == nullptr) {
        setDialogDpiBehaviour = UserFunction<DpiBehaviourFn>("SetDialogDpiChangeBehavior");
        setControlDpiBehaviour = UserFunction<DpiBehaviourFn>("SetDialogControlDpiChangeBehavior");
        if (setDialogDpiBehaviour == nullptr || setControlDpiBehaviour == nullptr) {
            return;
        }
    }
    setDialogDpiBehaviour(dialog, DDC_DISABLE_ALL, DDC_DISABLE_ALL);
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        setControlDpiBehaviour(child, DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT,
                               DCDC_DISABLE_FONT_UPDATE | DCDC_DISABLE_RELAYOUT);
    }
}

bool DialogSizeAtDpi(HWND dialog, int templateId, UINT dpi, SIZE* size) {
    const auto adjustForDpi = UserFunction<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    TemplateAtDpi read;
    if (adjustForDpi == nullptr || !ReadTemplateAtDpi(dialog, templateId, dpi, read)) {
        return false;
    }
    RECT window = {0, 0, ScaledX(read, read.cx), ScaledY(read, read.cy)};
    adjustForDpi(&window, static_cast<DWORD>(GetWindowLongW(dialog, GWL_STYLE)), FALSE,
                 static_cast<DWORD>(GetWindowLongW(dialog, GWL_EXSTYLE)), dpi);
    *size = {window.right - window.left, window.bottom - window.top};
    return true;
}

bool LayOutFromTemplate(HWND dialog, int templateId, UINT dpi, DpiLayoutObjects& objects) {
    TemplateAtDpi read;
    if (!ReadTemplateAtDpi(dialog, templateId, dpi, read)) {
        return false;
    }
    bool placed[kMaxItems] = {};
    // Controls the program made itself have no id in the template and stay where they are.
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        const int index = NextItemWithId(read, placed, LOWORD(GetDlgCtrlID(child)));
        if (index < 0) {
            continue;
        }
        placed[index] = true;
        const TemplateItem& item = read.items[index];
        SetWindowPos(child, nullptr, ScaledX(read, item.x), ScaledY(read, item.y), ScaledX(read, item.cx),
                     ScaledY(read, item.cy), SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(read.font.Get()), FALSE);
        if (item.picture != 0) {
            TakePictureAgain(child, item.picture, dpi, objects);
        }
    }
    objects.font = std::move(read.font);  // the font it replaces is no control's any more
    return true;
}

INT_PTR AnswerDpiScaledSize(HWND dialog, int templateId, WPARAM wParam, LPARAM lParam) {
    const bool answered =
        lParam != 0 && DialogSizeAtDpi(dialog, templateId, static_cast<UINT>(wParam), reinterpret_cast<SIZE*>(lParam));
    SetWindowLongPtrW(dialog, DWLP_MSGRESULT, answered ? TRUE : FALSE);
    return TRUE;
}

void TakeSuggestedRect(HWND dialog, LPARAM lParam) {
    const auto* rect = reinterpret_cast<const RECT*>(lParam);
    if (rect != nullptr) {
        SetWindowPos(dialog, nullptr, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
