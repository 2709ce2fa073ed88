// Text: the program's string, a reference-counted copy-on-write UTF-16 string. Copies share one
// heap block (count, length, capacity, then the characters and a terminator) until one of them
// changes; every empty text shares one static block, so empty texts never allocate. The counts
// are plain integers: texts belong to the GUI thread.
//
// Bad input is taken calmly: a null pointer reads as the empty text, and an operation whose
// result would exceed kMaxLength or that runs out of memory leaves the text as it was.
#pragma once
#include <windows.h>

#include <cstdarg>

class Text {
  public:
    // Keeps a whole block below 2 GB, so no size computed from a length can overflow.
    static constexpr int kMaxLength = 0x3FFFFFF0;

    Text() noexcept;
    Text(const wchar_t* text);  // cppcheck-suppress noExplicitConstructor ; NOLINT: so a literal passes as a Text
    // At most maxLength characters, fewer when a terminator comes first; negative gives empty.
    Text(const wchar_t* text, int maxLength);
    // ANSI text in the system code page.
    static Text FromAnsi(const char* text);
    static Text FromAnsi(const char* text, int maxLength);
    // String resource `id` of `module` (null: the program's own exe), at any length; empty
    // when the resource is missing.
    static Text FromResource(UINT id, HINSTANCE module = nullptr);

    // Formats like wsprintfW with no length limit. Conversions: %s (wide; null prints
    // "(null)"), %c, %d, %i, %u, %x, %X and %%, with the flags '-' and '0', a width, a
    // precision and an 'l' prefix that changes nothing. Any other conversion is copied to the
    // output as written, taking no argument. A format holding a floating-point conversion
    // (%e %E %f %g %G) is refused as a whole: the result is empty and no argument is read.
    static Text Format(const wchar_t* format, ...);
    static Text FormatV(const wchar_t* format, va_list args);

    Text(const Text& other) noexcept;
    Text(Text&& other) noexcept;
    Text& operator=(const Text& other) noexcept;
    Text& operator=(Text&& other) noexcept;
    ~Text();

    int Length() const { return header_->length; }
    bool Empty() const { return header_->length == 0; }
    const wchar_t* c_str() const { return Chars(); }  // never null

    // Appends at most `count` characters of `text`, which may point into this text. False when
    // the result would be too long or memory runs out; the text is then unchanged.
    bool Append(const wchar_t* text, int count);
    Text& operator+=(const Text& other);
    Text& operator+=(const wchar_t* text);
    friend Text operator+(const Text& left, const Text& right);

    // Replaces every occurrence of `needle`, scanning left to right and resuming after each
    // replacement. Returns the number replaced; an empty needle replaces nothing.
    int Replace(const wchar_t* needle, const wchar_t* replacement);
    // Index of the first `c` at or after `from`, or -1.
    int Find(wchar_t c, int from = 0) const;
    Text& MakeLower();

    // A writable buffer of this text alone, with room for `size` characters and a terminator;
    // the present characters stay in it. Null when size is negative or too large, or memory runs
    // out. ReleaseBuffer then takes the length up to the first terminator.
    wchar_t* GetBuffer(int size);
    void ReleaseBuffer();

    friend bool operator==(const Text& left, const Text& right);
    friend bool operator==(const Text& left, const wchar_t* right);

  private:
    struct Header {
        int refs;
        int length;
        int capacity;  // characters, not counting the terminator that always has room after them
    };
    struct EmptyBlock;
    class Formatter;
    static EmptyBlock emptyBlock;

    static Header* EmptyHeader();
    static Header* Allocate(int capacity);
    static void Unref(Header* header);
    wchar_t* Chars() const;
    bool Reserve(int needed, Header** previous = nullptr);
    wchar_t* Extend(int count, Header** previous = nullptr);

    Header* header_;
};
