// One running instance, and the messages between instances over instanceMessage.
#pragma once

// Creates the mutex (kept open for the life of the process). A second instance announces
// itself to every top-level window, so the running one shows its dialog, and posts the quit
// message with 45054. Returns true for the first instance.
bool ClaimSingleInstance();

// The "exit" word: asks every running instance to end. Visits every top-level window.
void BroadcastExitRequest();
