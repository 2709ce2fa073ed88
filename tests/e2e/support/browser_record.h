// The shell's handler of "http" pointed at a recorder while a test runs: every address the
// program opens is written into a file of the test instead of starting a browser. Wine 8 only
// honours the machine-wide handler, so the previous one is put back at the end.
#pragma once
#include <string>

#include "e2e/support/e2e_support.h"

namespace e2e {

class BrowserRecord {
  public:
    BrowserRecord();
    ~BrowserRecord();
    BrowserRecord(const BrowserRecord&) = delete;
    BrowserRecord& operator=(const BrowserRecord&) = delete;

    // Whether a browser was registered to stand in for.
    bool Installed() const { return !previous_.empty(); }
    // The address the program opened next, empty when none came within the time. Forgets it,
    // so the next call waits for another one.
    std::string NextAddress(DWORD timeoutMs = 10000);

  private:
    std::wstring RecordPath() const { return folder_.File(L"opened.txt"); }

    TempFolder folder_;
    std::wstring previous_;
};

}  // namespace e2e
