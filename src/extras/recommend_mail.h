// Recommending the program by e-mail: a new message in the user's mail program, through
// Simple MAPI, with the recommendation text and optionally one attached file.
#pragma once
#include <windows.h>

#include <mapi.h>

#include "common/path_names.h"
#include "common/text.h"
#include "extras/mapi_wide.h"

// The mail program's MAPISendMail, or a stand-in with the same signature.
using SendMailFunction =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR owner, MapiMessage* message, FLAGS flags, ULONG reserved);

// What the message goes through: the mail program's two calls (either may be missing), and
// how the system names a file for the ANSI one.
struct MailSystem {
    SendMailWideFunction wide = nullptr;  // MAPISendMailW, Windows 8 and later
    SendMailFunction ansi = nullptr;      // MAPISendMail
    UINT ansiCodePage = CP_ACP;
    ShortPathLookup shortPath = nullptr;
};

enum class MailOutcome {
    kTaken,  // the mail program took the message, or the user dropped it or did not log on
    kRefused,
    kAttachmentUnnamed,  // only the ANSI call is there, and it cannot name the attachment exactly
};

// Opens the mail program's compose window for the message; `attachment` empty for none. Refused,
// with nothing shown, for an invalid owner, a missing mail program, a subject or attachment
// path of 260 characters or more, or any other MAPI error.
MailOutcome SendRecommendMail(HWND owner, const Text& attachment, const Text& subject, const Text& body);

// SendRecommendMail after the owner check and the look-up of MAPI32.DLL: hands the message to
// the Unicode call where there is one (and to the ANSI call when it is refused as not
// supported), with the links of `language` in the body. In ANSI the subject and body lose
// what the code page lacks; the attachment goes by its exact name or its short form, or not.
MailOutcome SendRecommendMailThrough(const MailSystem& mail,
                                     HWND owner,
                                     const Text& attachment,
                                     const Text& subject,
                                     const Text& body,
                                     int language);
