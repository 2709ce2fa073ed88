#include "settings/writable_settings.h"

#include "settings/settings.h"

namespace {

Settings record;

}  // namespace

// Bound to an object of this file, so the reference is constant-initialised: no other file's
// static initialiser can see it unbound.
const Settings& settings = record;

Settings& WritableSettings() {
    return record;
}
