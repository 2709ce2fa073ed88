#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <climits>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "appearance/dark_mode.h"
#include "appearance/owner_drawn_menu_bar.h"
#include "common/scoped_handle.h"
#include "common/window_dpi.h"
#include "settings/settings.h"
#include "settings/writable_settings.h"
#include "unit/support/fake_dark_mode_api.h"

namespace {

// Paints into a map of pixels and shows the painted ones as rows of '#' over their bounding box.
class GridSink final : public PixelSink {
  public:
    void Fill(const RECT& area, COLORREF colour) override {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                pixels[{y, x}] = colour;
            }
        }
    }
    std::vector<std::string> Picture() const {
        int left = INT_MAX, right = INT_MIN, top = INT_MAX, bottom = INT_MIN;
        for (const auto& [at, colour] : pixels) {
            top = std::min(top, at.first), bottom = std::max(bottom, at.first);
            left = std::min(left, at.second), right = std::max(right, at.second);
        }
        std::vector<std::string> rows;
        for (int y = top; y <= bottom; ++y) {
            rows.emplace_back();
            for (int x = left; x <= right; ++x) {
                rows.back() += pixels.count({y, x}) ? '#' : '.';
            }
        }
        origin = {left, top};
        return rows;
    }
    COLORREF At(int x, int y) const { return pixels.at({y, x}); }
    std::map<std::pair<int, int>, COLORREF> pixels;  // (y, x)
    mutable POINT origin = {};
};

// A 32-bit memory bitmap selected into its own context, white to start with.
class Canvas {
  public:
    Canvas(int width, int height) : dc_(CreateCompatibleDC(nullptr)), width_(width) {
        BITMAPINFO info = {};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap_.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0));
        previous_ = SelectObject(dc_.Get(), bitmap_.Get());
        PatBlt(dc_.Get(), 0, 0, width, height, WHITENESS);
    }
    ~Canvas() { SelectObject(dc_.Get(), previous_); }
    HDC Dc() const { return dc_.Get(); }
    COLORREF At(int x, int y) const {
        GdiFlush();
        const DWORD pixel = bits_[y * width_ + x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }

  private:
    ScopedMemoryDc dc_;
    ScopedGdiObject bitmap_;
    HGDIOBJ previous_ = nullptr;
    DWORD* bits_ = nullptr;
    int width_;
};

// A 16 x 16 icon of one solid colour, so its pixels are easy to find.
ScopedIcon SolidIcon(COLORREF colour) {
    const DWORD pixel = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    const std::vector<DWORD> pixels(16 * 16, pixel);
    const std::vector<BYTE> opaque(16 * 16 / 8, 0);
    return ScopedIcon(CreateIcon(nullptr, 16, 16, 1, 32, opaque.data(), reinterpret_cast<const BYTE*>(pixels.data())));
}

ULONG_PTR ItemData(HMENU menu, int position) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA | MIIM_FTYPE;
    GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info);
    return (info.fType & MFT_OWNERDRAW) != 0 ? info.dwItemData : 0;
}

const MenuItemRecord& RecordAt(HMENU menu, int position) {
    return *reinterpret_cast<const MenuItemRecord*>(ItemData(menu, position));
}

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlue = RGB(0, 0, 255);

// A bar with a blue picture for command 501 and a converted popup: "Exit" (501, with an
// accelerator), "Plain" (600), a separator, "Default" (600, the default item).
struct DrawnMenu {
    DrawnMenu() {
        bar.RegisterCommandImage(icon.Get(), 501);
        AppendMenuW(popup.Get(), MF_STRING, 501, L"Exit\tAlt+F4");
        AppendMenuW(popup.Get(), MF_STRING, 600, L"Plain");
        AppendMenuW(popup.Get(), MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup.Get(), MF_STRING, 600, L"Plain\tAlt+F4");
        AppendMenuW(popup.Get(), MF_STRING, 600, L"Plain");
        SetMenuDefaultItem(popup.Get(), 4, TRUE);
        bar.ConvertPopup(popup.Get());
    }
    SIZE Measure(int position) {
        MEASUREITEMSTRUCT item = {ODT_MENU, 0, 0, 0, 0, ItemData(popup.Get(), position)};
        EXPECT_EQ(bar.OnToolbarMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&item)), 1);
        return SIZE{static_cast<LONG>(item.itemWidth), static_cast<LONG>(item.itemHeight)};
    }
    LRESULT Draw(Canvas& canvas, int position, UINT state, int height = 18) {
        DRAWITEMSTRUCT item = {ODT_MENU,
                               0,
                               0,
                               ODA_DRAWENTIRE,
                               state,
                               nullptr,
                               canvas.Dc(),
                               {0, 0, kWidth, height},
                               ItemData(popup.Get(), position)};
        return bar.OnToolbarMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    }
    // Columns with a pixel that `match` accepts.
    template <typename Match>
    static std::vector<int> ColumnsWhere(const Canvas& canvas, Match match) {
        std::vector<int> columns;
        for (int x = 0; x < kWidth; ++x) {
            for (int y = 0; y < 18; ++y) {
                if (match(canvas.At(x, y))) {
                    columns.push_back(x);
                    break;
                }
            }
        }
        return columns;
    }
    // Anything but the white background and the blue picture.
    static std::vector<int> InkColumns(const Canvas& canvas) {
        return ColumnsWhere(canvas, [](COLORREF pixel) { return pixel != kWhite && pixel != kBlue; });
    }

    static constexpr int kWidth = 240;
    ScopedIcon icon = SolidIcon(kBlue);
    OwnerDrawnMenuBar bar;
    ScopedMenu popup{CreatePopupMenu()};
};

}  // namespace

TEST(MenuColours, DarkLookHasItsOwnPaletteAndTheLightLookIsTheSystems) {
    EXPECT_EQ(MenuColourFor(true, COLOR_MENU), 0x202020u);
    EXPECT_EQ(MenuColourFor(true, COLOR_WINDOW), 0x202020u);
    EXPECT_EQ(MenuColourFor(true, COLOR_MENUTEXT), 0xDEDEDEu);
    for (int grey : {COLOR_HIGHLIGHT, COLOR_BTNSHADOW, COLOR_GRAYTEXT, COLOR_MENUHILIGHT}) {
        EXPECT_EQ(MenuColourFor(true, grey), RGB(128, 128, 128)) << grey;
    }
    EXPECT_EQ(MenuColourFor(true, COLOR_HIGHLIGHTTEXT), RGB(255, 255, 125));
    EXPECT_EQ(MenuColourFor(true, COLOR_BTNFACE), GetSysColor(COLOR_BTNFACE));
    for (int index : {COLOR_MENU, COLOR_MENUTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT, COLOR_GRAYTEXT}) {
        EXPECT_EQ(MenuColourFor(false, index), GetSysColor(index)) << index;
    }
    EXPECT_EQ(MenuColour(COLOR_MENUTEXT), GetSysColor(COLOR_MENUTEXT)) << "Wine has no dark mode";
}

TEST(MenuPixels, CheckMarkAndArrowKeepTheirShapeWhereverTheCellIsAndVanishInTinyCells) {
    GridSink mark;
    PaintCheckMark(mark, RECT{100, 40, 121, 58}, RGB(1, 2, 3));  // a 16-pixel icon's cell
    EXPECT_EQ(mark.Picture(), (std::vector<std::string>{
                                  "........##",
                                  ".......##.",
                                  "##....##..",
                                  ".##..##...",
                                  "..####....",
                                  "...##.....",
                              }));
    EXPECT_EQ(mark.origin.x, 106);
    EXPECT_EQ(mark.origin.y, 46);
    EXPECT_EQ(mark.pixels.begin()->second, RGB(1, 2, 3));

    GridSink arrow;
    PaintSubmenuArrow(arrow, RECT{0, 0, 42, 18}, RGB(9, 9, 9));
    EXPECT_EQ(arrow.Picture(), (std::vector<std::string>{
                                   "##....",
                                   ".##...",
                                   "..##..",
                                   "...##.",
                                   "....##",
                                   "...##.",
                                   "..##..",
                                   ".##...",
                                   "##....",
                               }));
    EXPECT_EQ(arrow.origin.x, 21);
    EXPECT_EQ(arrow.origin.y, 5);

    GridSink tiny;
    PaintCheckMark(tiny, RECT{0, 0, 10, 2}, 0);
    PaintSubmenuArrow(tiny, RECT{0, 0, 10, 6}, 0);
    PaintSideBand(tiny, RECT{5, 0, 5, 18});
    EXPECT_TRUE(tiny.pixels.empty());
}

TEST(MenuPixels, GradientsStepByTruncatedIntegerAndFloatArithmetic) {
    GridSink selection;
    PaintSelectionGradient(selection, RECT{0, 0, 3, 64}, RGB(128, 128, 128));
    EXPECT_EQ(selection.pixels.size(), 3u * 64u);
    EXPECT_EQ(selection.At(2, 0), RGB(128, 128, 128));
    EXPECT_EQ(selection.At(0, 32), RGB(90, 90, 90));
    EXPECT_EQ(selection.At(1, 63), RGB(53, 53, 53)) << "heads for 40 %, 51, without reaching it";
    GridSink coloured;
    PaintSelectionGradient(coloured, RECT{0, 0, 1, 64}, RGB(0x33, 0x99, 0xFF));
    EXPECT_EQ(coloured.At(0, 63), RGB(21, 63, 105));

    GridSink band;
    PaintSideBand(band, RECT{0, 0, 20, 18});
    EXPECT_EQ(band.pixels.size(), 20u * 18u);
    EXPECT_EQ(band.At(0, 17), RGB(246, 245, 0));
    EXPECT_EQ(band.At(10, 0), RGB(230, 227, 0));
    EXPECT_EQ(band.At(19, 9), RGB(215, 211, 0));
}

TEST(OwnerDrawnMenus, ConvertEachItemOnceWithItsFirstImageAndFreeTheRecordsOfDestroyedMenus) {
    ScopedIcon icon = SolidIcon(RGB(0, 0, 255));
    OwnerDrawnMenuBar bar;
    EXPECT_EQ(bar.RegisterCommandImage(icon.Get(), 501), 501u);
    EXPECT_EQ(bar.RegisterCommandImage(icon.Get(), 502), 502u);
    EXPECT_EQ(bar.RegisterCommandImage(icon.Get(), 501), 501u);
    EXPECT_EQ(bar.RegisterCommandImage(nullptr, 503), 0u);

    for (int retext = 0; retext < 100; ++retext) {
        HMENU popup = CreatePopupMenu();
        AppendMenuW(popup, MF_STRING | MF_CHECKED, 501, L"Exit\tAlt+F4");
        AppendMenuW(popup, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup, MF_POPUP, reinterpret_cast<UINT_PTR>(CreatePopupMenu()), L"More");
        HMENU barMenu = CreateMenu();
        AppendMenuW(barMenu, MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"Program");
        bar.AttachMenu(barMenu);  // destroys the previous menu and its popups
        bar.ConvertPopup(popup);
        bar.ConvertPopup(popup);
        ASSERT_EQ(bar.LiveRecordCount(), 3) << "after " << retext << " re-texts";
        if (retext == 0) {
            const MenuItemRecord& exit = RecordAt(popup, 0);
            EXPECT_STREQ(exit.text.c_str(), L"Exit\tAlt+F4");
            EXPECT_EQ(exit.imageIndex, 0);
            EXPECT_EQ(exit.state & MFS_CHECKED, static_cast<UINT>(MFS_CHECKED));
            EXPECT_NE(RecordAt(popup, 1).type & MFT_SEPARATOR, 0u);
            EXPECT_TRUE(RecordAt(popup, 2).hasSubmenu);
            EXPECT_EQ(RecordAt(popup, 2).imageIndex, -1);
        }
    }
    bar.AttachMenu(nullptr);
    HMENU foreign = CreatePopupMenu();
    AppendMenuW(foreign, MF_STRING, 10, L"English");
    bar.ConvertPopup(foreign);
    EXPECT_EQ(bar.LiveRecordCount(), 1);
    DestroyMenu(foreign);
    ScopedMenu next(CreatePopupMenu());
    bar.ConvertPopup(next.Get());
    EXPECT_EQ(bar.LiveRecordCount(), 0) << "a closed language menu leaves nothing behind";
}

TEST(OwnerDrawnMenus, MeasureSeparatorsAtHalfAMenuLineAndWidenForBoldDefaultsAndAccelerators) {
    DrawnMenu menu;
    EXPECT_EQ(menu.Measure(2).cx, 0);
    EXPECT_EQ(menu.Measure(2).cy, GetSystemMetrics(SM_CYMENU) / 2);
    const SIZE plain = menu.Measure(1);
    EXPECT_GE(plain.cy, GetSystemMetrics(SM_CYSMICON) + 2);
    EXPECT_GT(menu.Measure(3).cx, plain.cx) << "the accelerator needs room";
    EXPECT_GT(menu.Measure(4).cx, plain.cx) << "the default item is measured bold";
    EXPECT_EQ(menu.Measure(4).cy, plain.cy);

    MEASUREITEMSTRUCT notOurs = {ODT_MENU, 0, 0, 0, 0, 0x1313};
    EXPECT_EQ(menu.bar.OnToolbarMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&notOurs)), 0);
}

// The menu opens on monitors of 96, 144 and 192 dpi in turn: items, separators, pictures and
// the text's font grow in proportion, within a pixel of rounding.
TEST(OwnerDrawnMenus, MeasureAndDrawAtTheDpiOfTheMonitorTheMenuOpensOn) {
    DrawnMenu menu;
    struct AtDpi {
        SIZE item;
        LONG separator;
        int pictureWidth;
        int pictureHeight;
    };
    std::vector<AtDpi> seen;
    for (UINT dpi : {96u, 144u, 192u}) {
        menu.bar.UseMenuDpi(dpi);
        AtDpi at = {menu.Measure(1), menu.Measure(2).cy, 0, 0};
        Canvas canvas(DrawnMenu::kWidth, at.item.cy);
        menu.Draw(canvas, 0, 0, at.item.cy);
        std::vector<int> rows(at.item.cy);
        for (int x = 0; x < DrawnMenu::kWidth; ++x) {
            bool blue = false;
            for (int y = 0; y < at.item.cy; ++y) {
                blue = blue || canvas.At(x, y) == kBlue;
                rows[y] += canvas.At(x, y) == kBlue ? 1 : 0;
            }
            at.pictureWidth += blue ? 1 : 0;
        }
        at.pictureHeight = static_cast<int>(std::count_if(rows.begin(), rows.end(), [](int n) { return n > 0; }));
        seen.push_back(at);
    }
    EXPECT_EQ(seen[0].pictureWidth, 16);
    EXPECT_EQ(seen[0].pictureHeight, 16);
    for (size_t i : {1u, 2u}) {
        const double scale = i == 1 ? 1.5 : 2.0;
        EXPECT_NEAR(seen[i].item.cy, seen[0].item.cy * scale, 1.0) << "item height at scale " << scale;
        EXPECT_NEAR(seen[i].separator, seen[0].separator * scale, 1.0) << "separator at scale " << scale;
        EXPECT_EQ(seen[i].pictureWidth, static_cast<int>(16 * scale)) << "picture at scale " << scale;
        EXPECT_EQ(seen[i].pictureHeight, static_cast<int>(16 * scale)) << "picture at scale " << scale;
        EXPECT_NEAR(seen[i].item.cx, seen[0].item.cx * scale, seen[0].item.cx * scale / 10) << "the font's scale too";
    }
}

TEST(OwnerDrawnMenus, DrawPictureThenCheckMarkThenTextAndNoPictureForGrayedItems) {
    DrawnMenu menu;
    Canvas plain(DrawnMenu::kWidth, 18), checked(DrawnMenu::kWidth, 18), grayed(DrawnMenu::kWidth, 18);
    ASSERT_EQ(menu.Draw(plain, 0, 0), 1);
    menu.Draw(checked, 0, ODS_CHECKED);
    menu.Draw(grayed, 0, ODS_GRAYED);

    EXPECT_EQ(plain.At(2, 1), kBlue) << "the picture is centred in the icon column";
    EXPECT_EQ(plain.At(17, 16), kBlue);
    EXPECT_EQ(checked.At(2, 1), kBlue);
    EXPECT_EQ(checked.At(22, 8), GetSysColor(COLOR_MENUTEXT)) << "the mark stands right of the picture";
    const std::vector<int> plainInk = menu.InkColumns(plain), checkedInk = menu.InkColumns(checked);
    ASSERT_FALSE(plainInk.empty());
    ASSERT_FALSE(checkedInk.empty());
    EXPECT_GE(plainInk.front(), 21) << "text starts after the icon column";
    EXPECT_GE(checkedInk.front(), 18);
    EXPECT_TRUE(std::none_of(checkedInk.begin(), checkedInk.end(), [](int x) { return x >= 32 && x < 36; }))
        << "a gap between the mark and the text";
    EXPECT_GT(*std::find_if(checkedInk.begin(), checkedInk.end(), [](int x) { return x >= 32; }), plainInk.front());
    EXPECT_GT(plainInk.back(), DrawnMenu::kWidth - 21 - 10) << "the accelerator is right-aligned";
    EXPECT_LT(plainInk.back(), DrawnMenu::kWidth - 21);

    EXPECT_TRUE(DrawnMenu::ColumnsWhere(grayed, [](COLORREF pixel) { return pixel == kBlue; }).empty());
    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW);
    EXPECT_FALSE(DrawnMenu::ColumnsWhere(grayed, [&](COLORREF pixel) { return pixel == shadow; }).empty());

    Canvas untouched(DrawnMenu::kWidth, 18);
    DRAWITEMSTRUCT notOurs = {ODT_MENU, 0, 0, ODA_DRAWENTIRE, 0, nullptr, untouched.Dc(), {0, 0, 10, 10}, 0x1313};
    EXPECT_EQ(menu.bar.OnToolbarMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&notOurs)), 0);
    EXPECT_EQ(menu.InkColumns(untouched).size(), 0u);
}

TEST(OwnerDrawnMenus, SelectionIsAGradientTowardsFortyPercentOnlyWithSoftPaint) {
    DrawnMenu menu;
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    const int saved = settings.soft_paint;
    Canvas soft(DrawnMenu::kWidth, 64), solid(DrawnMenu::kWidth, 64);
    WritableSettings().soft_paint = 1;
    menu.Draw(soft, 1, ODS_SELECTED, 64);
    WritableSettings().soft_paint = 0;
    menu.Draw(solid, 1, ODS_SELECTED, 64);
    WritableSettings().soft_paint = saved;

    EXPECT_EQ(soft.At(1, 0), highlight);
    EXPECT_EQ(solid.At(1, 0), highlight);
    EXPECT_EQ(solid.At(1, 63), highlight);
    for (int shift : {0, 8, 16}) {
        const int start = (highlight >> shift) & 0xFF, end = (soft.At(1, 63) >> shift) & 0xFF;
        EXPECT_GE(end, start * 4 / 10);
        EXPECT_LE(end, start * 4 / 10 + start / 64 + 1);
        EXPECT_LE((soft.At(1, 32) >> shift) & 0xFF, static_cast<COLORREF>(start));
    }
}

TEST(OwnerDrawnMenus, OnlyTheDarkLookFillsItemsAndDrawsSubmenuArrowsAndTheBandSurvivesADeselection) {
    MenuItemRecord more;
    more.text = L"More";
    more.hasSubmenu = true;
    const MenuMetrics metrics = MenuMetrics::ForDpi(ScreenDpi());
    const CommandImages noImages;
    Canvas canvas(200, 18);
    DRAWITEMSTRUCT item = {ODT_MENU, 0, 7, ODA_DRAWENTIRE, 0, nullptr, canvas.Dc(), {0, 0, 200, 18}, 0};
    GridSink light, dark, deselected;
    DrawMenuItem(item, more, MenuLook{false, true, false}, metrics, noImages, light);
    DrawMenuItem(item, more, MenuLook{true, true, false}, metrics, noImages, dark);
    EXPECT_TRUE(light.pixels.empty()) << "the system draws the light arrow";
    EXPECT_EQ(dark.At(100, 0), 0x202020u);
    EXPECT_EQ(dark.At(179, 5), 0xDEDEDEu) << "the arrow's tip row, in the text colour";

    item.itemAction = ODA_SELECT;
    DrawMenuItem(item, more, MenuLook{false, true, true}, metrics, noImages, deselected);
    EXPECT_EQ(deselected.At(0, 0), RGB(246, 245, 0));
    EXPECT_EQ(deselected.At(100, 17), GetSysColor(COLOR_MENU));
}

// High contrast: whatever the look asked for (dark, gradient, band), only the system's colours
// and solid fills, and a grayed item stays readable.
TEST(OwnerDrawnMenus, HighContrastDrawsInTheSystemsColoursOnlyWithASolidSelection) {
    MenuItemRecord item;
    item.text = L"Item";
    item.hasSubmenu = true;
    const MenuMetrics metrics = MenuMetrics::ForDpi(ScreenDpi());
    const CommandImages noImages;
    Canvas canvas(200, 18);
    const MenuLook contrast{true, true, true, true};
    GridSink selected, plain, grayedMark;
    DRAWITEMSTRUCT draw = {ODT_MENU, 0, 7, ODA_DRAWENTIRE, ODS_SELECTED, nullptr, canvas.Dc(), {0, 0, 200, 18}, 0};
    DrawMenuItem(draw, item, contrast, metrics, noImages, selected);
    draw.itemState = 0;
    DrawMenuItem(draw, item, contrast, metrics, noImages, plain);
    draw.itemState = ODS_GRAYED | ODS_CHECKED;
    DrawMenuItem(draw, item, contrast, metrics, noImages, grayedMark);

    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    for (const auto& [at, colour] : selected.pixels) {
        ASSERT_EQ(colour, highlight) << "row " << at.first << ", column " << at.second;
    }
    EXPECT_EQ(selected.pixels.size(), 200u * 18u) << "the whole item, no arrow of the program's own";
    for (const auto& [at, colour] : plain.pixels) {
        ASSERT_EQ(colour, GetSysColor(COLOR_MENU)) << "row " << at.first << ", column " << at.second;
    }
    EXPECT_EQ(plain.pixels.size(), 200u * 18u);
    std::map<COLORREF, int> markColours;
    for (const auto& [at, colour] : grayedMark.pixels) {
        ++markColours[colour];
    }
    EXPECT_EQ(markColours.size(), 2u);
    EXPECT_EQ(markColours.count(GetSysColor(COLOR_GRAYTEXT)), 1u) << "the mark of a grayed item";

    // The bar asks the system each time it draws.
    InitDarkModeWith(FakeDarkModeApi(), 0);
    fakeDarkSystem.highContrast = true;
    DrawnMenu menu;
    const int saved = settings.soft_paint;
    WritableSettings().soft_paint = 1;
    Canvas bar(DrawnMenu::kWidth, 64);
    menu.Draw(bar, 1, ODS_SELECTED, 64);
    WritableSettings().soft_paint = saved;
    ResetDarkMode();
    EXPECT_EQ(bar.At(1, 0), highlight);
    EXPECT_EQ(bar.At(1, 63), highlight) << "no gradient";
}
