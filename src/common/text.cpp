#include "common/text.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <utility>

struct Text::EmptyBlock {
    Header header;
    wchar_t terminator;  // cppcheck-suppress unusedStructMember ; what the empty text's c_str() points at
};

// Constant-initialised, so texts constructed before the entry point can rely on it.
constinit Text::EmptyBlock Text::emptyBlock = {{0, 0, 0}, L'\0'};

namespace {

int BoundedLength(const wchar_t* text, int maxLength) {
    return text && maxLength > 0 ? static_cast<int>(wcsnlen(text, static_cast<size_t>(maxLength))) : 0;
}

// Lengths beyond kMaxLength only need to be told apart from fitting ones.
int CappedLength(const wchar_t* text) {
    return BoundedLength(text, Text::kMaxLength + 1);
}

}  // namespace

Text::Header* Text::EmptyHeader() {
    // The characters of a block follow its header directly; the empty block mirrors that layout.
    static_assert(offsetof(EmptyBlock, terminator) == sizeof(Header));
    return &emptyBlock.header;
}

Text::Header* Text::Allocate(int capacity) {
    if (capacity < 0 || capacity > kMaxLength) {
        return nullptr;
    }
    const size_t bytes = sizeof(Header) + (static_cast<size_t>(capacity) + 1) * sizeof(wchar_t);
    auto* header = static_cast<Header*>(std::malloc(bytes));
    if (!header) {
        return nullptr;
    }
    *header = {1, 0, capacity};
    auto* chars = reinterpret_cast<wchar_t*>(header + 1);
    chars[0] = L'\0';
    chars[capacity] = L'\0';
    return header;
}

void Text::Unref(Header* header) {
    if (header && header != EmptyHeader() && --header->refs == 0) {
        std::free(header);
    }
}

wchar_t* Text::Chars() const {
    return reinterpret_cast<wchar_t*>(header_ + 1);
}

// Makes the block this text's own with room for `needed` characters, keeping the characters.
// The replaced block is released, or handed to the caller through `previous` when the caller
// still reads from it.
bool Text::Reserve(int needed, Header** previous) {
    if (needed < 0 || needed > kMaxLength) {
        return false;
    }
    const int length = Length();
    needed = std::max(needed, length);
    const bool owned = header_ != EmptyHeader() && header_->refs == 1;
    if (owned && header_->capacity >= needed) {
        return true;
    }
    // Growing by half again keeps a run of appends linear.
    int capacity = needed;
    if (owned) {
        capacity = std::max(needed, std::min(kMaxLength, header_->capacity + header_->capacity / 2));
    }
    Header* fresh = Allocate(capacity);
    if (!fresh && capacity > needed) {
        fresh = Allocate(needed);
    }
    if (!fresh) {
        return false;
    }
    wmemcpy(reinterpret_cast<wchar_t*>(fresh + 1), Chars(), static_cast<size_t>(length) + 1);
    fresh->length = length;
    if (previous) {
        *previous = header_;
    } else {
        Unref(header_);
    }
    header_ = fresh;
    return true;
}

// Lengthens the text by `count` characters for the caller to write, and returns where they go.
wchar_t* Text::Extend(int count, Header** previous) {
    const int length = Length();
    if (count > kMaxLength - length || !Reserve(length + count, previous)) {
        return nullptr;
    }
    header_->length = length + count;
    Chars()[length + count] = L'\0';
    return Chars() + length;
}

Text::Text() noexcept : header_(EmptyHeader()) {}

Text::Text(const wchar_t* text) : Text(text, kMaxLength) {}

Text::Text(const wchar_t* text, int maxLength) : header_(EmptyHeader()) {
    Append(text, maxLength);
}

Text Text::FromAnsi(const char* text) {
    return FromAnsi(text, kMaxLength);
}

Text Text::FromAnsi(const char* text, int maxLength) {
    Text result;
    if (!text || maxLength <= 0) {
        return result;
    }
    const int bytes = static_cast<int>(strnlen(text, static_cast<size_t>(maxLength)));
    const int count = MultiByteToWideChar(CP_ACP, 0, text, bytes, nullptr, 0);
    wchar_t* buffer = count > 0 ? result.GetBuffer(count) : nullptr;
    if (buffer) {
        const int written = MultiByteToWideChar(CP_ACP, 0, text, bytes, buffer, count);
        buffer[std::max(written, 0)] = L'\0';
        result.ReleaseBuffer();
    }
    return result;
}

Text Text::FromResource(UINT id, HINSTANCE module) {
    // With a buffer size of 0, LoadStringW hands out a pointer to the resource itself (not
    // terminated) and its length, so no string is cut at a buffer's end.
    const wchar_t* resource = nullptr;
    const int length =
        LoadStringW(module ? module : GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&resource), 0);
    return length > 0 ? Text(resource, length) : Text();
}

Text::Text(const Text& other) noexcept : header_(other.header_) {
    if (header_ != EmptyHeader()) {
        ++header_->refs;
    }
}

Text::Text(Text&& other) noexcept : header_(other.header_) {
    other.header_ = EmptyHeader();
}

Text& Text::operator=(const Text& other) noexcept {
    Text copy(other);
    std::swap(header_, copy.header_);
    return *this;
}

Text& Text::operator=(Text&& other) noexcept {
    std::swap(header_, other.header_);
    return *this;
}

Text::~Text() {
    Unref(header_);
}

bool Text::Append(const wchar_t* text, int count) {
    count = BoundedLength(text, count);
    if (count == 0) {
        return true;
    }
    Header* previous = nullptr;  // `text` may lie in it
    wchar_t* end = Extend(count, &previous);
    if (end) {
        wmemmove(end, text, static_cast<size_t>(count));
    }
    Unref(previous);
    return end != nullptr;
}

Text& Text::operator+=(const Text& other) {
    Append(other.c_str(), other.Length());
    return *this;
}

Text& Text::operator+=(const wchar_t* text) {
    Append(text, kMaxLength);
    return *this;
}

Text operator+(const Text& left, const Text& right) {
    Text result(left);
    result += right;
    return result;
}

int Text::Replace(const wchar_t* needle, const wchar_t* replacement) {
    const int needleLength = CappedLength(needle);
    if (needleLength == 0 || needleLength > Length()) {
        return 0;
    }
    const int replacementLength = CappedLength(replacement);
    int count = 0;
    for (const wchar_t* hit = wcsstr(c_str(), needle); hit; hit = wcsstr(hit + needleLength, needle)) {
        ++count;
    }
    const long long newLength = Length() + static_cast<long long>(count) * (replacementLength - needleLength);
    if (count == 0 || newLength > kMaxLength) {
        return 0;
    }
    // Built in a fresh block: needle and replacement may point into this text.
    Header* fresh = Allocate(static_cast<int>(newLength));
    if (!fresh) {
        return 0;
    }
    wchar_t* out = reinterpret_cast<wchar_t*>(fresh + 1);
    const wchar_t* rest = c_str();
    for (const wchar_t* hit = wcsstr(rest, needle); hit; hit = wcsstr(rest, needle)) {
        out = std::copy(rest, hit, out);
        out = std::copy(replacement, replacement + replacementLength, out);
        rest = hit + needleLength;
    }
    out = std::copy(rest, c_str() + Length(), out);
    *out = L'\0';
    fresh->length = static_cast<int>(newLength);
    Unref(header_);
    header_ = fresh;
    return count;
}

int Text::Find(wchar_t c, int from) const {
    for (int i = std::max(from, 0); i < Length(); ++i) {
        if (Chars()[i] == c) {
            return i;
        }
    }
    return -1;
}

Text& Text::MakeLower() {
    if (!Empty() && Reserve(Length())) {
        CharLowerBuffW(Chars(), static_cast<DWORD>(Length()));
    }
    return *this;
}

wchar_t* Text::GetBuffer(int size) {
    // Reserve always leaves a block of this text's own, even for 0: the shared empty block must
    // never be handed out for writing.
    return size >= 0 && Reserve(size) ? Chars() : nullptr;
}

void Text::ReleaseBuffer() {
    if (header_ == EmptyHeader()) {
        return;
    }
    const int length = static_cast<int>(wcsnlen(Chars(), static_cast<size_t>(header_->capacity)));
    Chars()[length] = L'\0';
    header_->length = length;
    if (length == 0) {
        Unref(header_);
        header_ = EmptyHeader();
    }
}

bool operator==(const Text& left, const Text& right) {
    return left.header_ == right.header_ ||
           (left.Length() == right.Length() &&
            wmemcmp(left.c_str(), right.c_str(), static_cast<size_t>(left.Length())) == 0);
}

bool operator==(const Text& left, const wchar_t* right) {
    return wcscmp(left.c_str(), right ? right : L"") == 0;
}

// Builds the output of Format. The first failed step (too long, out of memory) poisons the
// result, and Format then returns an empty text.
class Text::Formatter {
  public:
    struct Spec {
        bool leftAlign = false;
        bool zeroPad = false;
        int width = 0;
        int precision = -1;
        wchar_t conversion = L'\0';
    };

    // Reads the part of a conversion after '%'; `p` is left after the conversion character
    // (or at the terminator when the format ends inside the conversion).
    static Spec Parse(const wchar_t*& p) {
        Spec spec;
        for (;; ++p) {
            if (*p == L'-') {
                spec.leftAlign = true;
            } else if (*p == L'0') {
                spec.zeroPad = true;
            } else {
                break;
            }
        }
        spec.width = ParseCount(p);
        if (*p == L'.') {
            ++p;
            spec.precision = ParseCount(p);
        }
        if (*p == L'l') {
            ++p;
        }
        spec.conversion = *p;
        if (*p) {
            ++p;
        }
        return spec;
    }

    static bool HasFloatConversion(const wchar_t* p) {
        while ((p = wcschr(p, L'%')) != nullptr) {
            const wchar_t conversion = Parse(++p).conversion;
            if (conversion && wcschr(L"eEfgG", conversion)) {
                return true;
            }
        }
        return false;
    }

    void Literal(const wchar_t* text, int count) { ok_ = ok_ && out_.Append(text, count); }

    void Field(const Spec& spec, const wchar_t* prefix, int zeros, const wchar_t* body, int bodyLength) {
        const int prefixLength = CappedLength(prefix);
        const long long used = static_cast<long long>(prefixLength) + zeros + bodyLength;
        const int padding = static_cast<int>(std::max(0LL, spec.width - used));
        const bool padWithZeros = spec.zeroPad && !spec.leftAlign && spec.precision < 0;
        if (!spec.leftAlign && !padWithZeros) {
            Fill(L' ', padding);
        }
        Literal(prefix, prefixLength);
        Fill(L'0', zeros + (padWithZeros ? padding : 0));
        Literal(body, bodyLength);
        if (spec.leftAlign) {
            Fill(L' ', padding);
        }
    }

    void String(const Spec& spec, const wchar_t* s) {
        s = s ? s : L"(null)";
        const int length = spec.precision >= 0 ? BoundedLength(s, spec.precision) : CappedLength(s);
        Field({spec.leftAlign, spec.zeroPad, spec.width, -1, L's'}, L"", 0, s, length);
    }

    void Number(const Spec& spec, unsigned magnitude, bool negative) {
        const bool hex = spec.conversion == L'x' || spec.conversion == L'X';
        const wchar_t* digitSet = spec.conversion == L'X' ? L"0123456789ABCDEF" : L"0123456789abcdef";
        const unsigned base = hex ? 16 : 10;
        wchar_t digits[16];
        wchar_t* first = digits + 16;
        do {
            *--first = digitSet[magnitude % base];
            magnitude /= base;
        } while (magnitude);
        const int count = static_cast<int>(digits + 16 - first);
        Field(spec, negative ? L"-" : L"", std::max(spec.precision - count, 0), first, count);
    }

    Text Result() { return ok_ ? std::move(out_) : Text(); }

  private:
    static int ParseCount(const wchar_t*& p) {
        long long value = 0;
        for (; *p >= L'0' && *p <= L'9'; ++p) {
            value = std::min(value * 10 + (*p - L'0'), static_cast<long long>(INT_MAX));
        }
        return static_cast<int>(value);
    }

    void Fill(wchar_t c, int count) {
        if (ok_ && count > 0) {
            wchar_t* end = out_.Extend(count);
            ok_ = end != nullptr;
            if (end) {
                wmemset(end, c, static_cast<size_t>(count));
            }
        }
    }

    Text out_;
    bool ok_ = true;
};

Text Text::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    Text result = FormatV(format, args);
    va_end(args);
    return result;
}

Text Text::FormatV(const wchar_t* format, va_list args) {
    if (!format || Formatter::HasFloatConversion(format)) {
        return Text();
    }
    Formatter out;
    const wchar_t* p = format;
    while (*p) {
        const wchar_t* percent = wcschr(p, L'%');
        if (!percent) {
            out.Literal(p, CappedLength(p));
            break;
        }
        out.Literal(p, static_cast<int>(percent - p));
        p = percent + 1;
        const Formatter::Spec spec = Formatter::Parse(p);
        switch (spec.conversion) {
            case L'%':
                out.Literal(L"%", 1);
                break;
            case L'c': {
                const wchar_t c = static_cast<wchar_t>(va_arg(args, int));
                out.Field(spec, L"", 0, &c, c ? 1 : 0);  // a 0 would end the text early
                break;
            }
            case L's':
                out.String(spec, va_arg(args, const wchar_t*));
                break;
            case L'd':
            case L'i': {
                const int value = va_arg(args, int);
                const unsigned magnitude = value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
                out.Number(spec, magnitude, value < 0);
                break;
            }
            case L'u':
            case L'x':
            case L'X':
                out.Number(spec, va_arg(args, unsigned), false);
                break;
            default:
                out.Literal(percent, static_cast<int>(p - percent));
                break;
        }
    }
    return out.Result();
}
