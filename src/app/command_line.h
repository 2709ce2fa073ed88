// The two command-line words. Each is a case-sensitive substring test over the whole
// command line, so "-bg" also counts behind a slash or glued to another word.
#pragma once

struct CommandLineWords {
    int startInBackground = 0;  // "-bg"
    int exitRequest = 0;        // "exit": 45054
};

CommandLineWords ParseCommandLineWords(const wchar_t* commandLine);
