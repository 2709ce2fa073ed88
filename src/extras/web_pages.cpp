#include "extras/web_pages.h"

#include <shellapi.h>

#include "common/failure_note.h"
#include "common/program.h"
#include "lang/language_pack.h"
#include "lang/text_ids.h"
#include "resource_ids.h"

namespace {

constexpr wchar_t kSite[] = L"http://www.velmora-soft.";
// Time-zone biases within four hours of UTC count as Europe and its neighbours.
constexpr LONG kEuropeanBiasMinutes = 240;

bool German(int language) {
    return language == kGerman;
}

// Pages that the dialog owns: the shell may show its errors over the dialog.
bool OwnedByDialog(UINT command) {
    return command == IDC_FAQ || command == IDM_LICENSE || command == IDM_UNINSTALL;
}

}  // namespace

void OpenWebPage(HWND dialog, UINT command) {
    Text address = WebCommandAddress(command, languagePack.currentLanguage, GetWebBase());
    if (address.Empty()) {
        return;
    }
    // The shell tells the user itself why a page does not open.
    HINSTANCE opened =
        ShellExecuteW(OwnedByDialog(command) ? dialog : nullptr, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
    if (reinterpret_cast<INT_PTR>(opened) <= 32) {
        NoteFailure(L"ShellExecute (web page)", static_cast<DWORD>(reinterpret_cast<INT_PTR>(opened)));
    }
}

Text WebBaseFor(int language, std::optional<LONG> biasMinutes) {
    const wchar_t* domain = L"com";
    if (German(language)) {
        domain = L"de";
    } else if (biasMinutes && *biasMinutes >= -kEuropeanBiasMinutes && *biasMinutes <= kEuropeanBiasMinutes) {
        domain = L"eu";
    }
    return Text::Format(L"%s%s", kSite, domain);
}

Text GetWebBase() {
    TIME_ZONE_INFORMATION zone = {};
    DWORD result = GetTimeZoneInformation(&zone);
    std::optional<LONG> bias;
    if (result != TIME_ZONE_ID_UNKNOWN && result != TIME_ZONE_ID_INVALID) {
        bias = zone.Bias;
    }
    return WebBaseFor(languagePack.currentLanguage, bias);
}

Text WebCommandAddress(UINT command, int language, const Text& base) {
    const wchar_t* page = L"/?seite=Microsoft/";
    bool german = German(language);
    switch (command) {
        case IDC_FAQ:
            return Text::Format(L"%s%s%s", base.c_str(), L"/?seite=faq-", productName);
        case IDM_NEWEST_VERSION:
            return Text::Format(L"%s%s%s", base.c_str(), page, productName);
        case IDM_HISTORY: {
            // The history lives on the site named by the language alone, whatever the time zone.
            const wchar_t* site = GetHeaderText(german ? kHeaderGermanSite : kHeaderInternationalSite);
            if (site == nullptr || site[0] == L'\0') {
                return Text();
            }
            return Text::Format(L"%s%s%s%s", site, page, productName, L"/History");
        }
        case IDM_LICENSE:
            return Text::Format(L"%s%s%s%s", base.c_str(), page, productName, german ? L"/Lizenz" : L"/Eula");
        case IDC_LINK_BAR_PLACE:
            return Text::Format(L"%s%s%s%s", base.c_str(), page, productName, german ? L"/Danke" : L"/Thanks");
        case IDM_UNINSTALL:
            return Text::Format(L"%s%s%s%s", base.c_str(), L"?seite=Microsoft/", productName, L"/Uninstall");
        default:
            return Text();
    }
}
