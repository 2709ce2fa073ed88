// Where start-up spends its time, for measuring only. With VELMORA_STARTUP_TRACE naming a
// file, every mark appends one line: milliseconds since the process was created, and the
// step just finished. Without the variable a mark is one test of a flag.
#pragma once

void MarkStartup(const char* step);
