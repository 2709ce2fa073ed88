// A MAPI32.DLL whose MAPISendMail writes what it was given into the file named by the
// environment variable VELMORA_MAPI_LOG, and reports success without showing anything.
//
// The log holds one "key value" line each for owner, flags, recipients, files, position, path,
// name and subject (the last three as the bytes received), then "body LENGTH" and the body's
// bytes as they came.
#include <windows.h>

#include <mapi.h>

#include <string>

namespace {

std::string Line(const char* key, const std::string& value) {
    return std::string(key) + " " + value + "\n";
}

std::string Bytes(const char* text) {
    return text != nullptr ? std::string(text) : std::string("(null)");
}

std::string Describe(ULONG_PTR owner, const MapiMessage& message, FLAGS flags) {
    const MapiFileDesc* file = message.nFileCount > 0 ? message.lpFiles : nullptr;
    std::string body = Bytes(message.lpszNoteText);
    return Line("owner", std::to_string(owner)) + Line("flags", std::to_string(flags)) +
           Line("recipients", std::to_string(message.nRecipCount)) + Line("files", std::to_string(message.nFileCount)) +
           Line("position", file != nullptr ? std::to_string(file->nPosition) : "-") +
           Line("path", file != nullptr ? Bytes(file->lpszPathName) : "-") +
           Line("name", file != nullptr ? Bytes(file->lpszFileName) : "-") +
           Line("subject", Bytes(message.lpszSubject)) + Line("body", std::to_string(body.size())) + body;
}

// Written beside the log and then renamed, so a reader never sees half a log.
void WriteLog(const std::string& text) {
    wchar_t path[MAX_PATH] = L"";
    DWORD length = GetEnvironmentVariableW(L"VELMORA_MAPI_LOG", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return;
    }
    std::wstring partial = std::wstring(path) + L".part";
    HANDLE file =
        CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return;
    }
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    MoveFileExW(partial.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" ULONG WINAPI MAPISendMail(LHANDLE, ULONG_PTR owner, lpMapiMessage message, FLAGS flags, ULONG) {
    if (message == nullptr) {
        return MAPI_E_FAILURE;
    }
    WriteLog(Describe(owner, *message, flags));
    return SUCCESS_SUCCESS;
}
