#include "lang/language_pack.h"

#include <algorithm>
#include <iterator>
#include <new>

#include "lang/pack_decoder.h"
#include "lang/stored_pack.h"
#include "lang/text_ids.h"
#include "settings/settings.h"

LanguagePack languagePack;

namespace {

constexpr wchar_t kMissingCustomText[] = L"?.Str.?";
constexpr int kHeaderMarker = 0;
constexpr int kFirstLanguageMarker = 3;

// The decoded pack; every table points into it, so it stays until the process ends.
wchar_t* packText = nullptr;

bool IsMarker(const wchar_t* at) {
    return at[0] == L'#' && at[1] == L'#';
}

// Where a section's content starts: after the marker and the CR LF behind it, but never past
// the end of the text.
wchar_t* SectionStart(wchar_t* marker, const wchar_t* end) {
    wchar_t* start = marker + 2;
    for (int i = 0; i < 2 && start < end; ++i) {
        ++start;
    }
    return start;
}

// "##=" name TAB second name CR LF: the name runs to the CR, the body starts at the LF. A name
// line cut short by a lone LF or by the end of the text ends there. Returns where the walk
// goes on.
wchar_t* RegisterNamedLanguage(wchar_t* marker, wchar_t* end, LanguagePack& pack) {
    wchar_t* name = marker + 3;
    wchar_t* stop = name;
    while (stop < end && *stop != L'\r' && *stop != L'\n') {
        ++stop;
    }
    int index = pack.languageCount++;
    pack.languageName[index] = name;
    if (stop == end) {
        pack.languageBody[index] = end;
        return end;
    }
    *stop = L'\0';
    pack.languageBody[index] = stop + 1;  // after a CR this is its LF, so the first line is empty
    return stop + 1;
}

// Handles the marker at `marker` (already known to be "##") and returns where the walk goes on.
wchar_t* HandleMarker(wchar_t* marker, wchar_t* end, int markerNumber, LanguagePack& pack, wchar_t*& headerSection) {
    *marker = L'\0';  // ends the section before it
    if (markerNumber == kHeaderMarker) {
        headerSection = SectionStart(marker, end);
    } else if (markerNumber < kFirstLanguageMarker) {
        pack.licenceText[markerNumber - 1] = SectionStart(marker, end);
    } else if (pack.languageCount < kMaxLanguages) {
        if (marker + 2 < end && marker[2] == L'=') {
            return RegisterNamedLanguage(marker, end, pack);
        }
        int index = pack.languageCount++;
        pack.languageName[index] = nullptr;
        pack.languageBody[index] = SectionStart(marker, end);
    }
    return marker + 2;
}

void CopyEnglishReference(LanguagePack& pack) {
    pack.englishReference[0] = L'\0';
    if (pack.languageCount <= kEnglish) {
        return;
    }
    // A body too long for the buffer is cut: the export then lacks its end, nothing worse.
    const wchar_t* body = pack.languageBody[kEnglish];
    int length = 0;
    while (length < kEnglishReferenceUnits - 1 && body[length] != L'\0') {
        ++length;
    }
    std::copy(body, body + length, pack.englishReference);
    pack.englishReference[length] = L'\0';
}

// Turns \r and \n in place into CR and LF; every other character is kept.
void Unescape(wchar_t* value) {
    wchar_t* out = value;
    for (const wchar_t* in = value; *in != L'\0'; ++in) {
        if (in[0] == L'\\' && (in[1] == L'r' || in[1] == L'n')) {
            *out++ = in[1] == L'r' ? L'\r' : L'\n';
            ++in;
        } else {
            *out++ = *in;
        }
    }
    *out = L'\0';
}

bool IsEmpty(const wchar_t* text) {
    return text == nullptr || text[0] == L'\0';
}

}  // namespace

void FillEntries(wchar_t* text, const wchar_t** entries, int idCount, bool unescape) {
    std::fill(entries, entries + idCount, nullptr);
    if (text == nullptr) {
        return;
    }
    wchar_t* line = text;
    for (;;) {
        wchar_t* lineFeed = line;
        while (*lineFeed != L'\0' && *lineFeed != L'\n') {
            ++lineFeed;
        }
        if (*lineFeed == L'\0') {
            return;  // a last line without LF does not count
        }
        wchar_t* equals = line;
        while (equals < lineFeed && *equals != L'=') {
            ++equals;
        }
        if (equals < lineFeed) {
            int id = ParseIntSetting(line);  // stops at the "=" at the latest
            wchar_t* lineEnd = (lineFeed > equals + 1 && lineFeed[-1] == L'\r') ? lineFeed - 1 : lineFeed;
            *lineEnd = L'\0';
            *lineFeed = L'\0';
            if (id >= 0 && id < idCount) {
                entries[id] = equals + 1;
                if (unescape) {
                    Unescape(equals + 1);
                }
            }
        }
        line = lineFeed + 1;
    }
}

bool IsCountedText(const wchar_t* const* english, int id) {
    return !IsEmpty(english[id]) && !IsProgramsOwnText(id);
}

int Completeness(const wchar_t* const* entries, const wchar_t* const* english) {
    int total = 0;
    int have = 0;
    for (int id = 0; id < kTextIds; ++id) {
        if (!IsCountedText(english, id)) {
            continue;
        }
        ++total;
        have += IsEmpty(entries[id]) ? 0 : 1;
    }
    if (total == 0) {
        return 0;
    }
    return static_cast<int>(static_cast<double>(have) / total * 100.0);
}

void BuildLanguageTables(wchar_t* text, LanguagePack& pack) {
    std::fill(std::begin(pack.licenceText), std::end(pack.licenceText), nullptr);
    std::fill(std::begin(pack.languageName), std::end(pack.languageName), nullptr);
    std::fill(std::begin(pack.languageBody), std::end(pack.languageBody), nullptr);
    std::fill(std::begin(pack.completeness), std::end(pack.completeness), 0);
    for (auto& table : pack.strings) {
        std::fill(std::begin(table), std::end(table), nullptr);
    }
    pack.languageCount = 0;

    wchar_t* end = text;
    while (*end != L'\0') {
        ++end;
    }
    wchar_t* headerSection = nullptr;
    int markerNumber = 0;
    for (wchar_t* at = text; at + 1 < end;) {
        if (IsMarker(at)) {
            at = HandleMarker(at, end, markerNumber++, pack, headerSection);
        } else {
            ++at;
        }
    }

    CopyEnglishReference(pack);
    for (int language = 0; language < pack.languageCount; ++language) {
        FillEntries(const_cast<wchar_t*>(pack.languageBody[language]), pack.strings[language], kTextIds, false);
    }
    for (int language = 0; language < pack.languageCount; ++language) {
        pack.completeness[language] = Completeness(pack.strings[language], pack.strings[kEnglish]);
    }
    FillEntries(headerSection, pack.headerStrings, kHeaderIds, true);
}

uint32_t TerminateDecodedText(uint8_t* buffer, uint32_t capacity, uint32_t decodedLength) {
    if (capacity < 2) {
        return 0;
    }
    uint32_t at = std::min(decodedLength, capacity - 2);
    buffer[at] = 0;
    buffer[at + 1] = 0;
    // An odd length leaves no whole zero unit at the two bytes; clear the next byte as well.
    if (at % 2 == 1) {
        buffer[at + 2 < capacity ? at + 2 : at - 1] = 0;
    }
    return at;
}

int LoadLanguagePack() {
    if (packText == nullptr) {
        packText = new (std::nothrow) wchar_t[kPackBufferBytes / sizeof(wchar_t)];
        if (packText == nullptr) {
            return 0;
        }
    }
    uint8_t* buffer = reinterpret_cast<uint8_t*>(packText);
    packMemory.sourceBound = kStoredPackSize;
    packMemory.sinkCapacity = kPackBufferBytes;
    {
        PackDecoder decoder;
        decoder.Decode(kStoredPack, buffer);
        TerminateDecodedText(buffer, kPackBufferBytes, decoder.DecodedLength());
    }
    BuildLanguageTables(packText, languagePack);
    return 1;
}

void UseLanguage(int language) {
    languagePack.currentLanguage = language;
}

const wchar_t* GetText(int id) {
    if (id < 0 || id >= kTextIds) {
        return L"";
    }
    const LanguagePack& pack = languagePack;
    if (pack.customLoaded) {
        return pack.customStrings[id] != nullptr ? pack.customStrings[id] : kMissingCustomText;
    }
    int language = pack.currentLanguage;
    if (language >= 0 && language < kMaxLanguages && language < pack.languageCount &&
        pack.strings[language][id] != nullptr) {
        return pack.strings[language][id];
    }
    const wchar_t* english = pack.strings[kEnglish][id];
    return english != nullptr ? english : L"";
}

const wchar_t* GetHeaderText(int id) {
    if (id < 0 || id >= kHeaderIds) {
        return nullptr;
    }
    return languagePack.headerStrings[id];
}
