// The language pack built into the program: the default language, decoding the pack at
// start-up, and every visible text by id.
#pragma once

#include <cstdint>

inline constexpr int kMaxLanguages = 44;
inline constexpr int kTextIds = 256;
inline constexpr int kHeaderIds = 128;
inline constexpr int kEnglishReferenceUnits = 2048;
inline constexpr int kGerman = 0;
inline constexpr int kEnglish = 1;
inline constexpr uint32_t kPackBufferBytes = 400000;

struct LanguagePack {
    const wchar_t* headerStrings[kHeaderIds] = {};
    const wchar_t* licenceText[2] = {};
    int languageCount = 0;
    const wchar_t* languageName[kMaxLanguages] = {};
    const wchar_t* languageBody[kMaxLanguages] = {};
    const wchar_t* strings[kMaxLanguages][kTextIds] = {};
    int completeness[kMaxLanguages] = {};
    wchar_t englishReference[kEnglishReferenceUnits] = {};
    // Filled by the language-file loader; once customLoaded is set every text comes from there.
    const wchar_t* customStrings[kTextIds] = {};
    bool customLoaded = false;
    // Zero, not kEnglish, until SelectDefaultLanguage sets it at start-up: one non-zero member
    // would put the whole record into the exe's initialised data instead of .bss.
    int currentLanguage = 0;
};

extern LanguagePack languagePack;

// The language GetText speaks from now on: a pack index as the INI key "lng" holds it (one
// outside the pack speaks English).
void UseLanguage(int language);

// Decodes the pack and builds the tables. Returns 1 on success, 0 when the buffer for the
// decoded text cannot be had.
int LoadLanguagePack();

// The text for an id 0..255 in the current language, falling back to English (empty when
// English lacks it too). Never null.
const wchar_t* GetText(int id);

// A header string by id 0..127, null where absent.
const wchar_t* GetHeaderText(int id);

// Splits a decoded pack (zero-terminated UTF-16, modified in place: the tables point into it)
// into sections and fills every table of `pack` but the custom ones and currentLanguage.
void BuildLanguageTables(wchar_t* text, LanguagePack& pack);

// Entry lines "id=value" ending with LF (a CR before it is dropped) into `entries`, which is
// cleared first: the id as atol reads it, ids outside 0..idCount-1 ignored, the later of two
// equal ids wins, lines without "=" and a last line without LF ignored. Values stay in `text`,
// cut at their line ends; with `unescape` the pairs \r and \n in them become CR and LF.
void FillEntries(wchar_t* text, const wchar_t** entries, int idCount, bool unescape);

// Whether a translation is asked for text `id`: English has it, and it is not one of the
// program's own texts (kProgramsOwnTexts), which only English and German have so far.
bool IsCountedText(const wchar_t* const* english, int id);

// The share of the counted texts that also have a non-empty text in `entries`, in whole per
// cent (0 when none is counted).
int Completeness(const wchar_t* const* entries, const wchar_t* const* english);

// Writes the terminator after `decodedLength` bytes of decoded text in a buffer of `capacity`
// bytes, so that the text reads as zero-terminated UTF-16 whatever the header claimed.
// Returns the byte offset the terminator went to.
uint32_t TerminateDecodedText(uint8_t* buffer, uint32_t capacity, uint32_t decodedLength);
