// What a stand-in for MAPISendMail writes down about the message it was handed, as text:
//
//   owner 1234, flags 9, recipients 0, files 1
//   file C:\path\Velmora.zip as Velmora.zip at 4294967295     (only with a file)
//   subject ...
//   body ...                                                  (the bytes as they came, to the end)
#pragma once
#include <windows.h>

#include <mapi.h>

#include <string>

inline std::string MailRecord(ULONG_PTR owner, const MapiMessage& message, FLAGS flags) {
    auto text = [](const char* bytes) { return bytes != nullptr ? std::string(bytes) : std::string("(null)"); };
    std::string record = "owner " + std::to_string(owner) + ", flags " + std::to_string(flags) + ", recipients " +
                         std::to_string(message.nRecipCount) + ", files " + std::to_string(message.nFileCount) + "\n";
    if (message.nFileCount > 0 && message.lpFiles != nullptr) {
        const MapiFileDesc& file = *message.lpFiles;
        record += "file " + text(file.lpszPathName) + " as " + text(file.lpszFileName) + " at " +
                  std::to_string(file.nPosition) + "\n";
    }
    return record + "subject " + text(message.lpszSubject) + "\nbody " + text(message.lpszNoteText);
}
