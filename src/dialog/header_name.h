// The dialog's header picture named for screen readers: a graphic called by the program's name,
// which its artwork shows.
// The system's proxy for a picture static has no name to offer, so the name is annotated on
// the window (Dynamic Annotation), which the proxy reads. The annotation service lives in oleacc,
// reached through COM, so a session without a screen reader never loads it.
#pragma once
#include <windows.h>
#include <oleacc.h>

// Makes the annotation service; a test puts a stand-in here.
using AccPropServicesMaker = HRESULT (*)(IAccPropServices** services);
extern AccPropServicesMaker accPropServicesMaker;

// Names `picture` as a graphic called `name`; false where the service refuses (Wine has it
// only as a stub).
bool NameHeaderPicture(HWND picture, const wchar_t* name);
