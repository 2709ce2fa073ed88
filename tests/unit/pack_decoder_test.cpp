#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "lang/pack_decoder.h"
#include "lzari/lzari_reference.h"
#include "unit/support/guarded_buffer.h"

namespace {

// Streams written by the published 1989 encoder (LZARI.C, its length header as 4 bytes).
const uint8_t kOneBytePacked[] = {
    0x01, 0x00, 0x00, 0x00, 0xCA, 0x80,
};
const uint8_t kSentencePacked[] = {
    0x9E, 0x00, 0x00, 0x00, 0xB9, 0x9E, 0x97, 0x4E, 0x42, 0xBA, 0x05, 0xA0, 0xB3, 0x72, 0xFD, 0x9C, 0x6D,
    0x9F, 0x5F, 0x8E, 0x37, 0x7D, 0x86, 0xF7, 0x2A, 0x45, 0x82, 0xF3, 0xE6, 0x4B, 0x8C, 0x0D, 0xFA, 0x46,
    0xA2, 0x44, 0x04, 0x6B, 0x09, 0xFA, 0x3D, 0x66, 0x7F, 0x03, 0x11, 0x44, 0x89, 0x7E, 0xC2, 0x06, 0x66,
    0x26, 0x52, 0x28, 0x88, 0x98, 0x5A, 0xB2, 0x18, 0xA8, 0x1A, 0x6B, 0x44, 0x03, 0x29, 0xF6, 0x0D, 0x44,
    0xF2, 0x6C, 0x9E, 0xEA, 0xA6, 0x02, 0xC4, 0x04, 0x9E, 0x39, 0x65, 0x57, 0xC7, 0xDF, 0xD6, 0x3C, 0x5C,
    0xBF, 0x2C, 0xD6, 0x69, 0x13, 0xC3, 0xEC, 0x13, 0xD9, 0xAC, 0xEF, 0x48, 0x82, 0xFD, 0x78, 0x70, 0x0A,
    0x86, 0x8F, 0xF7, 0x32, 0x1C, 0x5A, 0x54, 0x6D, 0x40, 0x25, 0xBC, 0xB0, 0xD0,
};
const uint8_t kUtf16Packed[] = {
    0xA6, 0x00, 0x00, 0x00, 0x2F, 0x70, 0xBA, 0xA8, 0x15, 0x96, 0x55, 0xE5, 0x58, 0xF1, 0xFF, 0xBE, 0x11, 0x98, 0xEF,
    0xDF, 0x9A, 0x05, 0xFE, 0x3D, 0xE5, 0x78, 0x27, 0xB9, 0x09, 0x44, 0x40, 0x13, 0x19, 0xE0, 0x6D, 0x8B, 0xFA, 0x2A,
    0xF4, 0x97, 0x89, 0x8B, 0xD3, 0x89, 0xE6, 0x9F, 0x11, 0x13, 0x0B, 0xDE, 0xFE, 0xA7, 0xF5, 0x8F, 0xC2, 0x57, 0x7D,
    0x33, 0xCE, 0x40, 0x90, 0x68, 0xFA, 0x36, 0x26, 0x68, 0xF8, 0x7E, 0x13, 0x55, 0x6A, 0xFE, 0x88, 0xD5, 0xE0, 0x0E,
    0xBF, 0x6A, 0xDF, 0x55, 0x5A, 0x88, 0x43, 0xF6, 0x6F, 0x9B, 0x66, 0x68, 0xCC, 0x5E, 0x2B, 0x39, 0x32, 0xB9, 0x1A,
    0x3F, 0x57, 0x40, 0xAA, 0xED, 0xD6, 0x9A, 0xFC, 0x3E, 0x37, 0xCB, 0x75, 0x6C, 0xCB, 0x4A, 0x74,
};
const uint8_t kEveryByteTwicePacked[] = {
    0x00, 0x02, 0x00, 0x00, 0xFF, 0xFE, 0xA9, 0xD6, 0x60, 0x2E, 0xAF, 0x0A, 0x38, 0xB4, 0xB5, 0x74, 0x12, 0x2B, 0x9F,
    0x7D, 0x66, 0x00, 0xA7, 0x24, 0x29, 0x52, 0xF3, 0x63, 0x3B, 0xE4, 0xA6, 0xEB, 0x65, 0xA7, 0x09, 0x4F, 0xE1, 0x45,
    0x32, 0x5A, 0x3E, 0xB0, 0xB9, 0x6F, 0xCB, 0xD6, 0x24, 0xBA, 0x54, 0x0B, 0x61, 0x08, 0xE1, 0x9F, 0x66, 0xDD, 0x0A,
    0xDE, 0x14, 0x76, 0x01, 0xAD, 0x40, 0xAF, 0x39, 0xB6, 0xB5, 0xD7, 0xFC, 0xD1, 0x1F, 0x71, 0x7E, 0x08, 0xCA, 0x9F,
    0x8D, 0x56, 0xDF, 0xC3, 0xBE, 0x36, 0xA3, 0xD4, 0x5E, 0xCB, 0x84, 0xCB, 0x29, 0xC1, 0xB7, 0xD1, 0x8F, 0xF3, 0x09,
    0x76, 0xFD, 0xC2, 0xDA, 0x96, 0xF5, 0xEF, 0x97, 0xC8, 0x4A, 0xB2, 0xB6, 0x8C, 0x53, 0xE5, 0x43, 0xE1, 0x7A, 0xDE,
    0x10, 0x1A, 0x74, 0xF5, 0x61, 0x88, 0x49, 0x24, 0xE8, 0x83, 0x5A, 0x5F, 0x2A, 0x9A, 0xCD, 0xB9, 0xA5, 0x41, 0xDB,
    0x31, 0xD0, 0x85, 0x42, 0x36, 0xB8, 0x97, 0x4C, 0xE4, 0xD9, 0x0B, 0xF0, 0xEC, 0xB3, 0x38, 0xAE, 0xFB, 0x88, 0x2D,
    0x5F, 0x51, 0xF1, 0x64, 0x9C, 0x6B, 0x17, 0x3B, 0xBA, 0x73, 0x27, 0x08, 0xBC, 0xEE, 0x5B, 0x83, 0xBE, 0x35, 0xCA,
    0x4E, 0xDA, 0x93, 0x50, 0x37, 0x54, 0x3E, 0x4E, 0xBC, 0xD8, 0x0A, 0xC0, 0x74, 0xD8, 0xA5, 0x64, 0x35, 0xED, 0x14,
    0xAD, 0x6F, 0xE4, 0x58, 0x47, 0x26, 0x8E, 0xD3, 0xE5, 0xEB, 0xE2, 0x1E, 0xFB, 0x6D, 0x1D, 0x3D, 0x52, 0xD2, 0xD5,
    0x80, 0x9B, 0x1A, 0xE9, 0xA0, 0xE4, 0x3E, 0xD4, 0xC4, 0xFC, 0x14, 0xA5, 0x9E, 0x02, 0x62, 0xE3, 0x7D, 0x44, 0xE5,
    0xB4, 0x93, 0x31, 0xA9, 0xE1, 0xF9, 0x75, 0x5D, 0xCD, 0xA7, 0xDF, 0x05, 0x78, 0xBB, 0xE0, 0x32, 0x75, 0x6A, 0x89,
    0x58, 0xCB, 0x7F, 0xD1, 0xF4, 0xC1, 0x77, 0x77, 0x5D, 0xA4, 0x2C, 0xB8, 0x31, 0x09, 0xBE, 0x75, 0x9B, 0x53, 0xBE,
    0x18, 0xBF, 0xFC, 0x71, 0xE5, 0x65, 0x30, 0x36, 0x18, 0xA1, 0xA6, 0x43, 0x0A, 0x2B, 0x89, 0x22, 0x89, 0x48, 0x75,
    0xE4, 0x91, 0x37, 0x84, 0xA1, 0xEC, 0x32, 0x39, 0x48, 0x58, 0x7D, 0x20,
};

std::vector<uint8_t> Bytes(const std::string& text) {
    return std::vector<uint8_t>(text.begin(), text.end());
}

std::vector<uint8_t> Utf16(const std::wstring& text) {
    std::vector<uint8_t> bytes;
    for (wchar_t unit : text) {
        bytes.push_back(static_cast<uint8_t>(unit & 0xFF));
        bytes.push_back(static_cast<uint8_t>(unit >> 8));
    }
    return bytes;
}

std::vector<uint8_t> EveryByteTwice() {
    std::vector<uint8_t> bytes;
    for (int round = 0; round < 2; ++round) {
        for (int value = 0; value < 256; ++value) {
            bytes.push_back(static_cast<uint8_t>(value));
        }
    }
    return bytes;
}

struct PublishedStream {
    std::vector<uint8_t> text;
    std::vector<uint8_t> packed;
};

std::vector<PublishedStream> PublishedStreams() {
    auto span = [](const uint8_t* data, size_t size) { return std::vector<uint8_t>(data, data + size); };
    return {
        {{}, {0, 0, 0, 0}},
        {Bytes("A"), span(kOneBytePacked, sizeof(kOneBytePacked))},
        {Bytes("Velmora hides the desktop icons after a few idle seconds and shows them again when you click on the "
               "empty desktop. Velmora hides the taskbar too, if you like."),
         span(kSentencePacked, sizeof(kSentencePacked))},
        {Utf16(L"\xFEFF##=English\tEnglisch\r\n223=Are you sure?\r\n224=Delete the execution file #AP#. exe \r\n"),
         span(kUtf16Packed, sizeof(kUtf16Packed))},
        {EveryByteTwice(), span(kEveryByteTwicePacked, sizeof(kEveryByteTwicePacked))},
    };
}

struct Decoded {
    std::vector<uint8_t> bytes;
    uint32_t announced = 0;
};

// Decodes from memory with both buffers ending at an inaccessible page, so that a read past
// the source's bound or a write past the sink's capacity faults.
Decoded DecodeInMemory(const std::vector<uint8_t>& packed, uint32_t capacity) {
    GuardedBuffer source(packed);
    GuardedBuffer sink(capacity);
    packMemory.sourceBound = static_cast<uint32_t>(packed.size());
    packMemory.sinkCapacity = capacity;
    PackDecoder decoder;
    decoder.Decode(source.Data(), sink.Data());
    return {std::vector<uint8_t>(sink.Data(), sink.Data() + decoder.BytesStored()), decoder.DecodedLength()};
}

std::vector<uint8_t> Decode(const std::vector<uint8_t>& packed) {
    return DecodeInMemory(packed, static_cast<uint32_t>(packed.size() * 600 + 4096)).bytes;
}

std::vector<uint8_t> RandomBytes(size_t size, uint32_t seed, int alphabet) {
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (uint8_t& byte : bytes) {
        byte = static_cast<uint8_t>(random() % alphabet);
    }
    return bytes;
}

std::vector<uint8_t> VariedText(size_t size) {
    static const char* const kWords[] = {"desktop ", "icons ",  "hide ",   "show ",     "taskbar ", "\r\n",
                                         "Velmora ", "timer ",  "seconds", "42=",       "#AP# ",    "mouse ",
                                         "button ",  "colour ", "tray ",   "language ", "\t",       "\xC3\xA9"};
    std::mt19937 random(7);
    std::string text;
    while (text.size() < size) {
        text += kWords[random() % (sizeof(kWords) / sizeof(kWords[0]))];
    }
    text.resize(size);
    return Bytes(text);
}

}  // namespace

TEST(LzariEncoder, WritesWhatThePublishedEncoderWrites) {
    for (const PublishedStream& stream : PublishedStreams()) {
        EXPECT_EQ(lzari::Encode(stream.text), stream.packed) << "input of " << stream.text.size() << " bytes";
    }
}

TEST(PackDecoder, DecodesWhatThePublishedEncoderWrote) {
    for (const PublishedStream& stream : PublishedStreams()) {
        Decoded decoded = DecodeInMemory(stream.packed, 4096);
        EXPECT_EQ(decoded.announced, stream.text.size());
        EXPECT_EQ(decoded.bytes, stream.text);
    }
}

TEST(PackDecoder, AgreesWithThePublishedCoderOnVariedInputs) {
    std::vector<std::vector<uint8_t>> inputs = {
        {},
        {0x00},
        Bytes(std::string(5000, 'a')),
        RandomBytes(20000, 1, 256),
        RandomBytes(20000, 2, 4),
        VariedText(3000),
        VariedText(300000),  // rescales the model many times and wraps the ring often
        Utf16(std::wstring(2000, L'\x0416') + L"\r\n\x65E5\x672C\x8A9E\r\n"),
        EveryByteTwice(),
    };
    for (const std::vector<uint8_t>& input : inputs) {
        std::vector<uint8_t> packed = lzari::Encode(input);
        EXPECT_EQ(Decode(packed), input) << "input of " << input.size() << " bytes";
        EXPECT_EQ(lzari::DecodeReference(packed), input) << "input of " << input.size() << " bytes";
    }
}

TEST(PackDecoder, MatchBeforeStartYieldsSpaces) {
    // The ring starts out filled with spaces, so sixty of them cost the encoder one match.
    std::vector<uint8_t> spaces(60, ' ');
    std::vector<uint8_t> packed = lzari::Encode(spaces);
    EXPECT_LE(packed.size(), 8u);
    EXPECT_EQ(Decode(packed), spaces);
}

TEST(PackDecoder, OverlappingMatchRepeatsItsOwnOutput) {
    std::vector<uint8_t> run;
    for (int i = 0; i < 2000; ++i) {
        run.push_back('x');
        run.push_back('y');
    }
    std::vector<uint8_t> packed = lzari::Encode(run);
    EXPECT_LT(packed.size(), 150u);  // only copies from two bytes back, each longer than that
    EXPECT_EQ(Decode(packed), run);
}

TEST(PackDecoder, ZeroLengthHeaderWritesNothing) {
    Decoded decoded = DecodeInMemory({0, 0, 0, 0, 0x5A, 0xA5, 0xFF}, 64);
    EXPECT_EQ(decoded.announced, 0u);
    EXPECT_TRUE(decoded.bytes.empty());
}

TEST(PackDecoder, SourceShorterThanItsHeaderHoldsNothing) {
    for (size_t size = 0; size < 4; ++size) {
        Decoded decoded = DecodeInMemory(std::vector<uint8_t>(size, 0x7F), 64);
        EXPECT_EQ(decoded.announced, 0u);
        EXPECT_TRUE(decoded.bytes.empty());
    }
}

TEST(PackDecoder, KeepsCapacityMinusOneBytesAndDropsTheRest) {
    std::vector<uint8_t> text = VariedText(1000);
    std::vector<uint8_t> packed = lzari::Encode(text);
    Decoded decoded = DecodeInMemory(packed, 10);
    EXPECT_EQ(decoded.announced, 1000u);
    EXPECT_EQ(decoded.bytes, std::vector<uint8_t>(text.begin(), text.begin() + 9));
    EXPECT_TRUE(DecodeInMemory(packed, 1).bytes.empty());
    EXPECT_TRUE(DecodeInMemory(packed, 0).bytes.empty());
    EXPECT_EQ(DecodeInMemory(packed, 1001).bytes, text);
}

TEST(PackDecoder, HeaderClaimingMoreThanTheSinkHoldsFillsItAndStops) {
    std::vector<uint8_t> packed = lzari::Encode(VariedText(500));
    packed[0] = packed[1] = packed[2] = packed[3] = 0xFF;
    Decoded decoded = DecodeInMemory(packed, 5000);
    EXPECT_EQ(decoded.announced, 0xFFFFFFFFu);
    EXPECT_EQ(decoded.bytes, lzari::DecodeReference(packed, 4999));
}

TEST(PackDecoder, TruncatedStreamReadsOnesPastItsEnd) {
    std::vector<uint8_t> packed = lzari::Encode(VariedText(4000));
    for (size_t keep : {size_t{4}, size_t{5}, size_t{20}, packed.size() / 2, packed.size() - 1}) {
        std::vector<uint8_t> truncated(packed.begin(), packed.begin() + keep);
        EXPECT_EQ(Decode(truncated), lzari::DecodeReference(truncated)) << "kept " << keep << " bytes";
    }
}

TEST(PackDecoder, LastMatchRunsPastTheAnnouncedLength) {
    std::vector<uint8_t> run(300, 'q');
    std::vector<uint8_t> packed = lzari::Encode(run);
    packed[0] = 0x2A;  // 298: the decoder still finishes the match it is in
    packed[1] = 0x01;
    std::vector<uint8_t> decoded = Decode(packed);
    EXPECT_EQ(decoded, run);
    EXPECT_EQ(lzari::DecodeReference(packed), run);
}

TEST(PackDecoder, ClearsTheSharedSourceAndSinkAfterDecoding) {
    std::vector<uint8_t> packed = lzari::Encode(VariedText(100));
    std::vector<uint8_t> sink(200);
    packMemory.sourceBound = static_cast<uint32_t>(packed.size());
    packMemory.sinkCapacity = 200;
    PackDecoder decoder;
    EXPECT_EQ(decoder.Decode(packed.data(), sink.data()), 0);
    EXPECT_EQ(packMemory.source, nullptr);
    EXPECT_EQ(packMemory.sink, nullptr);
    EXPECT_EQ(packMemory.sourcePosition, 0u);
    EXPECT_EQ(packMemory.sinkPosition, 0u);
    EXPECT_EQ(packMemory.sourceBound, packed.size());
    EXPECT_EQ(packMemory.sinkCapacity, 200u);
    EXPECT_EQ(decoder.BytesStored(), 100u);
}

TEST(PackDecoder, DecodesBetweenStreamsAndRefusesAMissingHeader) {
    std::vector<uint8_t> text = VariedText(5000);
    std::vector<uint8_t> packed = lzari::Encode(text);
    FILE* source = std::tmpfile();
    FILE* sink = std::tmpfile();
    ASSERT_NE(source, nullptr);
    ASSERT_NE(sink, nullptr);
    std::fwrite(packed.data(), 1, packed.size(), source);
    std::rewind(source);
    PackDecoder decoder;
    EXPECT_TRUE(decoder.DecodeStream(source, sink));
    std::rewind(sink);
    std::vector<uint8_t> written(text.size() + 100);
    written.resize(std::fread(written.data(), 1, written.size(), sink));
    EXPECT_EQ(written, text);

    FILE* shortSource = std::tmpfile();
    std::fwrite("\x01\x02", 1, 2, shortSource);
    std::rewind(shortSource);
    EXPECT_FALSE(decoder.DecodeStream(shortSource, sink));
    std::fclose(shortSource);
    std::fclose(source);
    std::fclose(sink);
}
