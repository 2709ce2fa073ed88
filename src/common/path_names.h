// A path as another program must be handed it in a code page of its own (the command
// interpreter's, an ANSI mail program's): exactly, or by its short form, or not at all.
#pragma once
#include <windows.h>

#include <optional>
#include <string>

#include "common/text.h"

// The file name at the end of `path`: after its last "\\" or "/", the whole path without one.
Text FileNameOfPath(const wchar_t* path);

// `length` characters of `text` (all up to the terminator with -1) in `codePage`, empty when
// the conversion fails. Sized by the conversion itself: UTF-8 may need three bytes a unit.
std::string ConvertedText(const wchar_t* text, int length, UINT codePage, DWORD flags = 0);

// A path's short (8.3) form, empty when there is none.
using ShortPathLookup = std::wstring (*)(const wchar_t* path);

// The file system's short form of `path`, also for a path of MAX_PATH characters or more.
std::wstring SystemShortPath(const wchar_t* path);

// The bytes of `text` in `codePage` when they read back as exactly `text`.
std::optional<std::string> ExactlyConverted(const std::wstring& text, UINT codePage);

// `path` in `codePage`: itself, or else its short form, whichever is shorter than MAX_PATH
// characters and survives the conversion exactly. A character turned into "?" or a look-alike
// would name another file, and programs without long-path support refuse longer paths.
std::optional<std::string> PathInCodePage(const wchar_t* path, UINT codePage, ShortPathLookup shortPath);
