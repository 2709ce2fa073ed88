// A MAPI32.DLL whose MAPISendMail and MAPISendMailW write down what they were given
// (mail_record.h) into the file named by the environment variable VELMORA_MAPI_LOG, and report
// success showing nothing.
#include <windows.h>

#include <mapi.h>

#include <string>

#include "mail_record.h"

namespace {

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
    WriteLog(MailRecord(owner, *message, flags));
    return SUCCESS_SUCCESS;
}

extern "C" ULONG WINAPI MAPISendMailW(LHANDLE, ULONG_PTR owner, WideMapiMessage* message, FLAGS flags, ULONG) {
    if (message == nullptr) {
        return MAPI_E_FAILURE;
    }
    WriteLog(MailRecordW(owner, *message, flags));
    return SUCCESS_SUCCESS;
}
