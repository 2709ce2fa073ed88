// What a stand-in for MAPISendMail or MAPISendMailW writes down about the message it was
// handed, as text (the Unicode call's texts in UTF-8, after a first line naming the call):
//
//   MAPISendMailW                                             (only from the Unicode call)
//   owner 1234, flags 9, recipients 0, files 1
//   file C:\path\Velmora.zip as Velmora.zip at 4294967295     (only with a file)
//   subject ...
//   body ...                                                  (the bytes as they came, to the end)
#pragma once
#include <windows.h>

#include <mapi.h>

#include <string>

#include "extras/mapi_wide.h"

namespace mail_record {

inline std::string Bytes(const char* text) {
    return text != nullptr ? std::string(text) : std::string("(null)");
}

inline std::string Bytes(const wchar_t* text) {
    if (text == nullptr) {
        return "(null)";
    }
    int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string converted(static_cast<size_t>(bytes > 0 ? bytes : 1), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), bytes, nullptr, nullptr);
    converted.pop_back();  // the terminator
    return converted;
}

template <typename Message>
std::string Record(ULONG_PTR owner, const Message& message, FLAGS flags) {
    std::string record = "owner " + std::to_string(owner) + ", flags " + std::to_string(flags) + ", recipients " +
                         std::to_string(message.nRecipCount) + ", files " + std::to_string(message.nFileCount) + "\n";
    if (message.nFileCount > 0 && message.lpFiles != nullptr) {
        const auto& file = *message.lpFiles;
        record += "file " + Bytes(file.lpszPathName) + " as " + Bytes(file.lpszFileName) + " at " +
                  std::to_string(file.nPosition) + "\n";
    }
    return record + "subject " + Bytes(message.lpszSubject) + "\nbody " + Bytes(message.lpszNoteText);
}

}  // namespace mail_record

inline std::string MailRecord(ULONG_PTR owner, const MapiMessage& message, FLAGS flags) {
    return mail_record::Record(owner, message, flags);
}

inline std::string MailRecordW(ULONG_PTR owner, const WideMapiMessage& message, FLAGS flags) {
    return "MAPISendMailW\n" + mail_record::Record(owner, message, flags);
}
