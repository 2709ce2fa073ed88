#include "common/path_names.h"

namespace {

constexpr wchar_t kLongPathPrefix[] = L"\\\\?\\";
constexpr wchar_t kLongUncPrefix[] = L"\\\\?\\UNC\\";

bool Fits(const std::wstring& path) {
    return path.size() < MAX_PATH;
}

}  // namespace

std::wstring SystemShortPath(const wchar_t* path) {
    // Without the prefix the file functions refuse a path of MAX_PATH characters or more.
    std::wstring asked = path;
    std::wstring prefix;
    if (!Fits(asked) && asked.rfind(kLongPathPrefix, 0) != 0) {
        prefix = asked.rfind(L"\\\\", 0) == 0 ? kLongUncPrefix : kLongPathPrefix;
        asked = prefix + asked.substr(prefix == kLongUncPrefix ? 2 : 0);
    }
    std::wstring shortForm(asked.size() + 1, L'\0');
    DWORD length = GetShortPathNameW(asked.c_str(), shortForm.data(), static_cast<DWORD>(shortForm.size()));
    if (length == 0 || length >= shortForm.size()) {
        return std::wstring();
    }
    shortForm.resize(length);
    if (!prefix.empty() && shortForm.rfind(prefix, 0) == 0) {
        shortForm = (prefix == kLongUncPrefix ? L"\\\\" : L"") + shortForm.substr(prefix.size());
    }
    return shortForm;
}

Text FileNameOfPath(const wchar_t* path) {
    Text name = path;
    name.Replace(L"/", L"\\");
    int start = 0;
    for (int at = name.Find(L'\\'); at >= 0; at = name.Find(L'\\', at + 1)) {
        start = at + 1;
    }
    return Text(name.c_str() + start);
}

std::string ConvertedText(const wchar_t* text, int length, UINT codePage, DWORD flags) {
    if (text == nullptr || length == 0) {
        return std::string();
    }
    const int bytes = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0) {
        return std::string();
    }
    std::string converted(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(codePage, flags, text, length, converted.data(), bytes, nullptr, nullptr);
    if (length < 0 && !converted.empty() && converted.back() == '\0') {
        converted.pop_back();  // the terminator came along
    }
    return converted;
}

std::optional<std::string> ExactlyConverted(const std::wstring& text, UINT codePage) {
    if (text.empty()) {
        return std::string();
    }
    int length = static_cast<int>(text.size());
    // Without this flag a character the code page lacks becomes a look-alike ("Ł" as "L"),
    // which names another file instead of failing.
    DWORD flags = (codePage == CP_UTF8 || codePage == CP_UTF7) ? 0 : WC_NO_BEST_FIT_CHARS;
    const std::string converted = ConvertedText(text.c_str(), length, codePage, flags);
    if (converted.empty()) {
        return std::nullopt;
    }
    const int bytes = static_cast<int>(converted.size());
    int back = MultiByteToWideChar(codePage, 0, converted.c_str(), bytes, nullptr, 0);
    std::wstring readBack(static_cast<size_t>(back > 0 ? back : 0), L'\0');
    if (back > 0) {
        MultiByteToWideChar(codePage, 0, converted.c_str(), bytes, readBack.data(), back);
    }
    if (readBack != text) {
        return std::nullopt;
    }
    return converted;
}

std::optional<std::string> PathInCodePage(const wchar_t* path, UINT codePage, ShortPathLookup shortPath) {
    const std::wstring whole = path;
    std::optional<std::string> named = Fits(whole) ? ExactlyConverted(whole, codePage) : std::nullopt;
    if (!named && shortPath != nullptr) {
        const std::wstring shortForm = shortPath(path);
        if (!shortForm.empty() && Fits(shortForm)) {
            named = ExactlyConverted(shortForm, codePage);
        }
    }
    return named;
}
