#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "lang/language_pack.h"
#include "lang/pack_decoder.h"
#include "lzari/lzari_reference.h"
#include "unit/support/guarded_buffer.h"

// Thousands of corrupt streams and pack texts, made from a fixed seed so that a failure can
// be replayed. Buffers end at an inaccessible page: any access past them crashes the test.
namespace {

constexpr int kStreamCases = 3000;
constexpr int kTextCases = 3000;

bool InsideText(const wchar_t* p, const wchar_t* begin, const wchar_t* end) {
    return p == nullptr || (p >= begin && p <= end);
}

// Every table entry points into the text and ends at a terminator inside it.
void ExpectTablesInside(const LanguagePack& pack, const wchar_t* begin, const wchar_t* end) {
    ASSERT_GE(pack.languageCount, 0);
    ASSERT_LE(pack.languageCount, kMaxLanguages);
    for (const wchar_t* header : pack.headerStrings) {
        ASSERT_TRUE(InsideText(header, begin, end));
    }
    for (const wchar_t* licence : pack.licenceText) {
        ASSERT_TRUE(InsideText(licence, begin, end));
    }
    for (int language = 0; language < kMaxLanguages; ++language) {
        ASSERT_TRUE(InsideText(pack.languageName[language], begin, end));
        ASSERT_TRUE(InsideText(pack.languageBody[language], begin, end));
        ASSERT_GE(pack.completeness[language], 0);
        ASSERT_LE(pack.completeness[language], 100);
        for (const wchar_t* entry : pack.strings[language]) {
            ASSERT_TRUE(InsideText(entry, begin, end));
        }
    }
    bool referenceTerminated = false;
    for (wchar_t unit : pack.englishReference) {
        referenceTerminated = referenceTerminated || unit == L'\0';
    }
    ASSERT_TRUE(referenceTerminated);
}

std::vector<uint8_t> CorruptStream(std::mt19937& random, const std::vector<uint8_t>& valid) {
    std::vector<uint8_t> stream;
    switch (random() % 4) {
        case 0:  // noise
            stream.resize(random() % 600);
            for (uint8_t& byte : stream) {
                byte = static_cast<uint8_t>(random());
            }
            break;
        case 1:  // a valid stream, cut short
            stream.assign(valid.begin(), valid.begin() + random() % valid.size());
            break;
        default:  // a valid stream with flipped bits and a header that may lie
            stream = valid;
            for (int flips = 1 + random() % 8; flips > 0; --flips) {
                stream[random() % stream.size()] ^= static_cast<uint8_t>(1u << (random() % 8));
            }
            if (random() % 2 == 0) {
                uint32_t claimed = random() % 3 == 0 ? static_cast<uint32_t>(random()) : random() % 20000;
                for (int i = 0; i < 4; ++i) {
                    stream[i] = static_cast<uint8_t>(claimed >> (8 * i));
                }
            }
            break;
    }
    return stream;
}

// Pack-like text: markers, name lines, entries, escapes and line ends in random order.
std::wstring CorruptPackText(std::mt19937& random) {
    static const wchar_t* const kPieces[] = {L"##",     L"##=",
                                             L"##\r\n", L"##=Name\tZweit\r\n",
                                             L"\r",     L"\n",
                                             L"\r\n",   L"=",
                                             L"\\r",    L"\\n",
                                             L"\\",     L"#",
                                             L"19=",    L"07=",
                                             L"300=",   L"-1=",
                                             L"abc",    L"TranslatorName=",
                                             L"\x00E4", L"\t",
                                             L" ",      L"223=Are you sure?",
                                             L"1",      L"99999999999=",
                                             L"[DIV]"};
    std::wstring text;
    for (int pieces = random() % 400; pieces > 0; --pieces) {
        text += kPieces[random() % (sizeof(kPieces) / sizeof(kPieces[0]))];
    }
    return text;
}

}  // namespace

TEST(PackFuzz, CorruptStreamsStayInsideTheirBuffersAndParseIntoTerminatedText) {
    std::mt19937 random(20261207);
    std::wstring sample =
        L"\xFEFF##\r\n19=Velmora 5.41\r\n##\r\nL\r\n##\r\nL\r\n##=English\tEnglisch\r\n223=Are you sure?\r\n";
    std::vector<uint8_t> text(reinterpret_cast<const uint8_t*>(sample.data()),
                              reinterpret_cast<const uint8_t*>(sample.data() + sample.size()));
    for (int repeat = 0; repeat < 4; ++repeat) {
        text.insert(text.end(), text.begin(), text.end());
    }
    std::vector<uint8_t> valid = lzari::Encode(text);
    auto tables = std::make_unique<LanguagePack>();

    for (int round = 0; round < kStreamCases; ++round) {
        std::vector<uint8_t> stream = CorruptStream(random, valid);
        uint32_t capacity = 2 * (random() % 3000);  // even, so the text is aligned UTF-16
        GuardedBuffer source(stream);
        GuardedBuffer sink(capacity);
        packMemory.sourceBound = static_cast<uint32_t>(stream.size());
        packMemory.sinkCapacity = capacity;
        PackDecoder decoder;
        decoder.Decode(source.Data(), sink.Data());

        uint32_t limit = capacity == 0 ? 0 : capacity - 1;
        ASSERT_LE(decoder.BytesStored(), limit) << "round " << round;
        std::vector<uint8_t> stored(sink.Data(), sink.Data() + decoder.BytesStored());
        ASSERT_EQ(stored, lzari::DecodeReference(stream, limit)) << "round " << round;

        if (capacity >= 2) {
            uint32_t at = TerminateDecodedText(sink.Data(), capacity, decoder.DecodedLength());
            ASSERT_LT(at + 1, capacity);
            auto* begin = reinterpret_cast<wchar_t*>(sink.Data());
            BuildLanguageTables(begin, *tables);
            ExpectTablesInside(*tables, begin, begin + capacity / 2);
            if (HasFatalFailure()) {
                FAIL() << "round " << round;
            }
        }
    }
}

TEST(PackFuzz, CorruptPackTextsParseIntoTablesInsideTheText) {
    std::mt19937 random(7122026);
    auto tables = std::make_unique<LanguagePack>();
    for (int round = 0; round < kTextCases; ++round) {
        std::wstring text = CorruptPackText(random);
        GuardedBuffer buffer((text.size() + 1) * sizeof(wchar_t));
        auto* begin = reinterpret_cast<wchar_t*>(buffer.Data());
        std::copy(text.begin(), text.end(), begin);
        begin[text.size()] = L'\0';
        BuildLanguageTables(begin, *tables);
        ExpectTablesInside(*tables, begin, begin + text.size());
        if (HasFatalFailure()) {
            FAIL() << "round " << round;
        }
    }
}
