// The settings record with write access: for the setters and the INI load in this folder, and
// for tests that set an option directly. Everything else reads `settings` (settings.h). The
// record itself lives in writable_settings.cpp.
#pragma once

// Declared, not included: the record's readers need settings.h alone.
struct Settings;

Settings& WritableSettings();
