#include "common/solid_brush.h"

#include <utility>
#include <vector>

#include "common/scoped_handle.h"

HBRUSH SolidBrushFor(COLORREF colour) {
    static std::vector<std::pair<COLORREF, ScopedGdiObject>> brushes;
    static SRWLOCK lock = SRWLOCK_INIT;
    AcquireSRWLockExclusive(&lock);
    HBRUSH brush = nullptr;
    for (const auto& [known, made] : brushes) {
        if (known == colour) {
            brush = static_cast<HBRUSH>(made.Get());
        }
    }
    if (brush == nullptr) {
        brush = CreateSolidBrush(colour);
        if (brush != nullptr) {
            brushes.emplace_back(colour, ScopedGdiObject(brush));
        }
    }
    ReleaseSRWLockExclusive(&lock);
    return brush;
}
