#include "app/command_line.h"

#include <cwchar>

#include "app/process_objects.h"

CommandLineWords ParseCommandLineWords(const wchar_t* commandLine) {
    CommandLineWords words;
    if (commandLine == nullptr) {
        return words;
    }
    if (std::wcsstr(commandLine, L"-bg") != nullptr) {
        words.startInBackground = 1;
    }
    if (std::wcsstr(commandLine, L"exit") != nullptr) {
        words.exitRequest = kExitRequestMarker;
    }
    return words;
}
