// The true Windows version for the dialog's title. Systems that report an older version to
// compatibility-shimmed programs still tell the truth through ntdll.
#pragma once

struct OsVersion {
    int major = 0;
    int minor = 0;
    int build = 0;
    int reportedMajor = 0;  // what GetVersionExW says, shims included
};

// Fills the version once; later calls return the same record.
const OsVersion& QueryOsVersion();
