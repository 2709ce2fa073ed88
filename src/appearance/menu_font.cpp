#include "appearance/menu_font.h"

#include <cstddef>

#include "common/system_library.h"
#include "common/window_dpi.h"

namespace {

using SystemParametersForDpiFn = BOOL(WINAPI*)(UINT, UINT, void*, UINT, UINT);

// One per DPI a menu has opened at: a handful at most. A further DPI takes the last one's fonts.
constexpr int kFontDpis = 6;
MenuFont fonts[kFontDpis] = {};
int fontCount = 0;

LOGFONTW SystemMenuLogFont(UINT dpi) {
    // The size without the last field is the one every Windows version accepts.
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth);
    static const auto forDpi = UserFunction<SystemParametersForDpiFn>("SystemParametersInfoForDpi");
    if (forDpi != nullptr && forDpi(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0, dpi)) {
        return metrics.lfMenuFont;
    }
    LOGFONTW font = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) {
        font = metrics.lfMenuFont;
    }
    const UINT screenDpi = ScreenDpi();
    if (dpi != screenDpi) {
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(screenDpi));
    }
    return font;
}

MenuFont& EntryFor(UINT dpi) {
    for (int i = 0; i < fontCount; ++i) {
        if (fonts[i].dpi == dpi) {
            return fonts[i];
        }
    }
    if (fontCount == kFontDpis) {
        return fonts[kFontDpis - 1];
    }
    MenuFont& entry = fonts[fontCount++];
    entry.dpi = dpi;
    entry.logFont = SystemMenuLogFont(dpi);
    entry.plain = CreateFontIndirectW(&entry.logFont);
    return entry;
}

}  // namespace

const MenuFont& MenuFontAt(UINT dpi, bool withBold) {
    MenuFont& entry = EntryFor(dpi);
    if (withBold && entry.bold == nullptr) {
        LOGFONTW bold = entry.logFont;
        bold.lfWeight += 200;
        entry.bold = CreateFontIndirectW(&bold);
        if (entry.bold == nullptr) {
            entry.bold = entry.plain;
        }
    }
    return entry;
}
