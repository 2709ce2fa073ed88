#include "standin_options.h"

#include <shellapi.h>

#include <cwchar>

namespace standin {

namespace {

constexpr wchar_t kLayoutPrefix[] = L"--layout=";
constexpr wchar_t kTaskbarsPrefix[] = L"--secondary-taskbars=";

// The text after `prefix` when `word` starts with it, else null.
const wchar_t* ValueAfter(const wchar_t* word, const wchar_t* prefix) {
    size_t length = wcslen(prefix);
    return wcsncmp(word, prefix, length) == 0 ? word + length : nullptr;
}

void ApplyWord(const wchar_t* word, StandinOptions& options) {
    if (const wchar_t* value = ValueAfter(word, kLayoutPrefix)) {
        if (wcscmp(value, L"progman") == 0) {
            options.layout = Layout::kProgman;
        } else if (wcscmp(value, L"workerw") == 0) {
            options.layout = Layout::kWorkerW;
        } else if (wcscmp(value, L"24h2") == 0) {
            options.layout = Layout::kProgman24H2;
        }
    } else if (const wchar_t* count = ValueAfter(word, kTaskbarsPrefix)) {
        if (count[0] >= L'0' && count[0] <= L'0' + kMaxSecondaryTaskbars && count[1] == L'\0') {
            options.secondaryTaskbars = count[0] - L'0';
        }
    }
}

}  // namespace

StandinOptions ParseStandinOptions(const wchar_t* commandLine) {
    StandinOptions options;
    if (commandLine == nullptr || commandLine[0] == L'\0') {
        return options;
    }
    int count = 0;
    wchar_t** words = CommandLineToArgvW(commandLine, &count);
    if (words == nullptr) {
        return options;
    }
    // Word 0 is the program.
    for (int i = 1; i < count; ++i) {
        ApplyWord(words[i], options);
    }
    LocalFree(words);
    return options;
}

}  // namespace standin
