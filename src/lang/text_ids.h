// The ids of the texts the program shows, named after their English text, so a reader sees
// what a control or menu says without opening the language pack. GetText and
// GetHeaderText take these as ints; the numbers are the pack's and every translation's.
#pragma once

enum TextId : int {
    kTextPreferences = 20,
    kTextStartWithWindows = 21,
    kTextDisable = 25,
    kTextAlwaysStartMinimised = 28,  // "Always start minimized (ToTray)"
    kTextAlwaysOnTop = 31,
    kTextDesktopContextMenu = 32,
    kTextShowViaDesktopClick = 40,
    kTextLeftMouseButton = 41,
    kTextMiddleMouseButton = 42,
    kTextRightMouseButton = 43,
    kTextTimer = 44,
    kTextHideTaskbar = 46,
    kTextToTray = 47,
    kTextExit = 50,
    kTextIconsVisibleWinD = 52,
    kTextHideIconsAtProgramStart = 53,
    kTextHideViaMiddleMouseButton = 54,
    kTextShowIconsWhenTheMouseMoves = 55,
    kTextMoreOptions = 56,
    kTextHideTaskbarWhenIconsHide = 57,
    kTextHideDesktopIconsPermanently = 60,
    kTextChangeTheDesktopBackground = 61,  // "Change the desktop background to a color"
    kTextShowEverything = 62,
    kTextHideEverything = 63,
    kTextUninstall = 202,
    kTextLicence = 212,  // "License (EULA)"
    kTextFileAccessError = 222,
    kTextAreYouSure = 223,
    kTextMailSubject = 240,  // "#AP# tip for U!"
    kTextMailBody = 241,     // "Hello, I found #AP# ... website: #IN#"
    kTextRecommend = 242,    // "Recommend #AP#"
    kTextSendViaEmail = 243, // "Send #AP# via e-mail"
    kTextFaq = 244,
    kTextHistory = 245,
    kTextNewestVersion = 247,
    kTextDonate = 248,
    kTextProgram = 249,
    kTextHotkey = 250,
    kTextHotkeyTaken = 251,  // "Another program already uses this key. ..."
    kTextCancel = 252,
    kTextHideByDoubleClick = 253,     // "Hide the icons by a double-click on the desktop"
    kTextHotkeyNotActive = 254,       // "not active": the saved key, which another program held when tried
    kTextHotkeyTypesCharacter = 255,  // "This key types a character. ...": AltGr on the user's layout
};

enum HeaderId : int {
    kHeaderProductAndVersion = 19,  // "Velmora 5.41"
    kHeaderGermanSite = 20,
    kHeaderInternationalSite = 21,
    kHeaderFreewareNotice = 22,  // "Freeware - www.velmora-soft." (the link bar adds "de" or "com")
    kHeaderGermanDonatePage = 23,
    kHeaderDonatePage = 24,
    kHeaderTranslatorRequest = 25,  // "Please translate the texts after the equals signs ..."
};

// Texts of the program's own features beyond the set every translation has: English and German
// have them, the other languages not yet, and show them in English. A translation without them
// is still complete: the completeness percentages and the list of missing texts both leave
// them out (IsCountedText). A new text that the translations lack goes into this list.
inline constexpr TextId kProgramsOwnTexts[] = {kTextHotkey, kTextHotkeyTaken, kTextCancel, kTextHideByDoubleClick,
                                               kTextHotkeyNotActive, kTextHotkeyTypesCharacter};

constexpr bool IsProgramsOwnText(int id) {
    for (TextId own : kProgramsOwnTexts) {
        if (own == id) {
            return true;
        }
    }
    return false;
}
