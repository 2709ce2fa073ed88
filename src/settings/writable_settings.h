// The settings record with write access: for the setters and the INI load in this folder, and
// for tests that set an option directly. Everything else reads `settings` (settings.h).
#pragma once

// Declared, not included: settings.cpp defines the accessor, and including settings.h here
// would make the two headers one circle of modules.
struct Settings;

Settings& WritableSettings();
