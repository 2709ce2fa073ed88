// The shell's "show desktop icons" setting: the DWORD HideIcons under the current user's
// Explorer\Advanced key, which SHGetSettings(SSF_HIDEICONS) reads back.
#pragma once

namespace standin {

// A missing or unreadable value counts as 0 (icons shown).
bool ReadHideIcons();
void WriteHideIcons(bool hide);

}  // namespace standin
