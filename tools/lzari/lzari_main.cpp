// lzari: the language pack's compressor, and a checker for any stream of its format.
//
//   lzari encode IN OUT       compresses IN: 4-byte little-endian length, then the LZARI bits
//   lzari decode IN OUT       decodes such a stream with the program's own decoder
//   lzari pack SOURCE OUT     turns the pack source (UTF-8, CR LF) into UTF-16LE with a
//                             byte-order mark, compresses it, checks that it decodes back,
//                             and writes the result as a C++ array initialiser
//
// Standard C++ only: a cross build compiles it for the build machine to make the pack.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "lang/pack_decoder.h"
#include "lzari/lzari_reference.h"

namespace {

bool ReadFile(const char* path, std::vector<uint8_t>& bytes) {
    FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        return false;
    }
    uint8_t block[65536];
    size_t got;
    while ((got = std::fread(block, 1, sizeof(block), file)) > 0) {
        bytes.insert(bytes.end(), block, block + got);
    }
    bool ok = std::ferror(file) == 0;
    std::fclose(file);
    return ok;
}

bool WriteFile(const char* path, const void* data, size_t size) {
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        return false;
    }
    bool ok = std::fwrite(data, 1, size, file) == size;
    return std::fclose(file) == 0 && ok;
}

void AppendUtf16(std::vector<uint8_t>& out, uint32_t unit) {
    out.push_back(static_cast<uint8_t>(unit & 0xFF));
    out.push_back(static_cast<uint8_t>(unit >> 8));
}

// Strict UTF-8 to UTF-16LE: overlong forms, surrogates and values past U+10FFFF are errors,
// and so is a line end other than CR LF, which the pack's format relies on.
bool Utf8ToUtf16(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, std::string& error) {
    size_t line = 1;
    for (size_t i = 0; i < in.size();) {
        uint8_t lead = in[i];
        int extra = lead < 0x80             ? 0
                    : (lead & 0xE0) == 0xC0 ? 1
                    : (lead & 0xF0) == 0xE0 ? 2
                    : (lead & 0xF8) == 0xF0 ? 3
                                            : -1;
        if (extra < 0) {
            error = "invalid UTF-8 on line " + std::to_string(line);
            return false;
        }
        uint32_t code = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int k = 1; k <= extra; ++k) {
            if (i + k >= in.size() || (in[i + k] & 0xC0) != 0x80) {
                error = "invalid UTF-8 on line " + std::to_string(line);
                return false;
            }
            code = (code << 6) | (in[i + k] & 0x3F);
        }
        static const uint32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
        if (code < kSmallest[extra] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
            error = "invalid UTF-8 on line " + std::to_string(line);
            return false;
        }
        bool lineFeed = code == '\n';
        bool carriageReturn = code == '\r';
        if ((lineFeed && (i == 0 || in[i - 1] != '\r')) ||
            (carriageReturn && (i + 1 >= in.size() || in[i + 1] != '\n'))) {
            error = "line " + std::to_string(line) + " does not end with CR LF";
            return false;
        }
        line += lineFeed ? 1 : 0;
        if (code >= 0x10000) {
            AppendUtf16(out, 0xD800 + ((code - 0x10000) >> 10));
            AppendUtf16(out, 0xDC00 + ((code - 0x10000) & 0x3FF));
        } else {
            AppendUtf16(out, code);
        }
        i += 1 + extra;
    }
    return true;
}

bool DecodesBack(const std::vector<uint8_t>& packed, const std::vector<uint8_t>& text) {
    std::vector<uint8_t> decoded(text.size() + 64);
    packMemory.sourceBound = static_cast<uint32_t>(packed.size());
    packMemory.sinkCapacity = static_cast<uint32_t>(decoded.size());
    PackDecoder decoder;
    decoder.Decode(packed.data(), decoded.data());
    return decoder.DecodedLength() == text.size() && std::memcmp(decoded.data(), text.data(), text.size()) == 0;
}

std::string ArrayInitialiser(const std::vector<uint8_t>& bytes) {
    std::string out = "// Made by the build from resources/lang/languages.txt (lzari pack); do not edit.\n";
    char item[8];
    for (size_t i = 0; i < bytes.size(); ++i) {
        std::snprintf(item, sizeof(item), "0x%02X,", bytes[i]);
        out += item;
        out += (i % 16 == 15 || i + 1 == bytes.size()) ? "\n" : "";
    }
    return out;
}

int Encode(const char* in, const char* out) {
    std::vector<uint8_t> text;
    if (!ReadFile(in, text)) {
        std::fprintf(stderr, "lzari: cannot read %s\n", in);
        return 1;
    }
    std::vector<uint8_t> packed = lzari::Encode(text);
    if (!WriteFile(out, packed.data(), packed.size())) {
        std::fprintf(stderr, "lzari: cannot write %s\n", out);
        return 1;
    }
    std::printf("%zu -> %zu bytes\n", text.size(), packed.size());
    return 0;
}

int Decode(const char* in, const char* out) {
    FILE* source = std::fopen(in, "rb");
    if (source == nullptr) {
        std::fprintf(stderr, "lzari: cannot read %s\n", in);
        return 1;
    }
    FILE* sink = std::fopen(out, "wb");
    if (sink == nullptr) {
        std::fclose(source);
        std::fprintf(stderr, "lzari: cannot write %s\n", out);
        return 1;
    }
    PackDecoder decoder;
    bool headerRead = decoder.DecodeStream(source, sink);
    std::fclose(source);
    // A failed write stays on the stream, and closing may still succeed.
    bool written = std::ferror(sink) == 0;
    written = std::fclose(sink) == 0 && written;
    if (!headerRead) {
        std::fprintf(stderr, "Read Error\n");
        return 1;
    }
    if (!written) {
        std::fprintf(stderr, "lzari: cannot write %s\n", out);
        return 1;
    }
    return 0;
}

int Pack(const char* in, const char* out) {
    std::vector<uint8_t> source;
    if (!ReadFile(in, source)) {
        std::fprintf(stderr, "lzari: cannot read %s\n", in);
        return 1;
    }
    std::vector<uint8_t> text;
    bool hasMark = source.size() >= 3 && source[0] == 0xEF && source[1] == 0xBB && source[2] == 0xBF;
    if (!hasMark) {
        AppendUtf16(text, 0xFEFF);
    }
    std::string error;
    if (!Utf8ToUtf16(source, text, error)) {
        std::fprintf(stderr, "%s: %s\n", in, error.c_str());
        return 1;
    }
    std::vector<uint8_t> packed = lzari::Encode(text);
    if (!DecodesBack(packed, text)) {
        std::fprintf(stderr, "lzari: the compressed pack does not decode back to %s\n", in);
        return 1;
    }
    std::string array = ArrayInitialiser(packed);
    if (!WriteFile(out, array.data(), array.size())) {
        std::fprintf(stderr, "lzari: cannot write %s\n", out);
        return 1;
    }
    std::printf("language pack: %zu bytes of UTF-16, %zu bytes compressed\n", text.size(), packed.size());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "encode") == 0) {
        return Encode(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "decode") == 0) {
        return Decode(argv[2], argv[3]);
    }
    if (argc == 4 && std::strcmp(argv[1], "pack") == 0) {
        return Pack(argv[2], argv[3]);
    }
    std::fprintf(stderr, "usage: lzari encode IN OUT | decode IN OUT | pack SOURCE.txt OUT.inc\n");
    return 2;
}
