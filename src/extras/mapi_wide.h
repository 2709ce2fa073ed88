// Simple MAPI's Unicode records and MAPISendMailW (Windows 8 and later), laid out as the
// system's mapi.h declares MapiMessageW and its parts; MinGW's headers lack them.
#pragma once
#include <windows.h>

#include <mapi.h>

struct WideMapiRecipient {
    ULONG ulReserved;
    ULONG ulRecipClass;
    PWSTR lpszName;
    PWSTR lpszAddress;
    ULONG ulEIDSize;
    PVOID lpEntryID;
};

struct WideMapiFile {
    ULONG ulReserved;
    ULONG flFlags;
    ULONG nPosition;
    PWSTR lpszPathName;
    PWSTR lpszFileName;
    PVOID lpFileType;
};

struct WideMapiMessage {
    ULONG ulReserved;
    PWSTR lpszSubject;
    PWSTR lpszNoteText;
    PWSTR lpszMessageType;
    PWSTR lpszDateReceived;
    PWSTR lpszConversationID;
    FLAGS flFlags;
    WideMapiRecipient* lpOriginator;
    ULONG nRecipCount;
    WideMapiRecipient* lpRecips;
    ULONG nFileCount;
    WideMapiFile* lpFiles;
};

using SendMailWideFunction =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR owner, WideMapiMessage* message, FLAGS flags, ULONG reserved);
