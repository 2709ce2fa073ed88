// Recommending the program by e-mail: a new message in the user's mail program, through
// Simple MAPI, with the recommendation text and optionally one attached file.
#pragma once
#include <windows.h>

#include <mapi.h>

#include "common/text.h"

// The mail program's MAPISendMail, or a stand-in with the same signature.
using SendMailFunction =
    ULONG(WINAPI*)(LHANDLE session, ULONG_PTR owner, MapiMessage* message, FLAGS flags, ULONG reserved);

// Opens the mail program's compose window for the message; `attachment` empty for none. True
// when the mail program took the message, or the user dropped it or did not log on. False,
// with nothing shown, for an invalid owner, a missing mail program, a subject or attachment
// path of 260 characters or more, or any other MAPI error.
bool SendRecommendMail(HWND owner, const Text& attachment, const Text& subject, const Text& body);

// SendRecommendMail after the owner check and the look-up of MAPI32.DLL: hands the message to
// `send`, with the links of `language` in the body.
bool SendRecommendMailThrough(SendMailFunction send,
                              HWND owner,
                              const Text& attachment,
                              const Text& subject,
                              const Text& body,
                              int language);
