#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "settings/autostart.h"
#include "unit/support/guarded_buffer.h"

namespace {

constexpr wchar_t kExpected[] = L"\"C:\\Tools\\Velmora.exe\" -bg";

// The data as the registry hands it over: the characters and their terminator.
RunValueState Judge(const std::wstring& stored) {
    return JudgeRunValue(stored.c_str(), static_cast<DWORD>((stored.size() + 1) * sizeof(wchar_t)), kExpected);
}

}  // namespace

TEST(RunValue, DataIsTheQuotedExePathAndTheBackgroundWord) {
    EXPECT_EQ(RunValueData(L"C:\\Tools\\Velmora.exe"), kExpected);
    EXPECT_EQ(RunValueData(L"C:\\Program Files\\V\\Velmora.exe"), L"\"C:\\Program Files\\V\\Velmora.exe\" -bg");
    // Longer than the program reads back: never written.
    EXPECT_EQ(RunValueData(std::wstring(505, L'a').c_str()).Length(), kLongestRunValue);
    EXPECT_TRUE(RunValueData(std::wstring(506, L'a').c_str()).Empty());
}

TEST(RunValue, OnlyTheExactCommandLineIsCurrentAnythingElsePresentIsRepaired) {
    EXPECT_EQ(Judge(kExpected), RunValueState::kCurrent);
    EXPECT_EQ(Judge(L"\"C:\\Old place\\Velmora.exe\" -bg"), RunValueState::kStale);
    EXPECT_EQ(Judge(L"\"C:\\tools\\velmora.exe\" -bg"), RunValueState::kStale);
    EXPECT_EQ(Judge(L"\"C:\\Tools\\Velmora.exe\""), RunValueState::kStale);
    EXPECT_EQ(Judge(L""), RunValueState::kStale);
    EXPECT_EQ(Judge(std::wstring(kLongestRunValue, L'x')), RunValueState::kStale);
    EXPECT_EQ(JudgeRunValue(nullptr, 0, kExpected), RunValueState::kMissing);
    // Data without its terminator counts up to its size.
    EXPECT_EQ(JudgeRunValue(kExpected, static_cast<DWORD>(std::wcslen(kExpected) * sizeof(wchar_t)), kExpected),
              RunValueState::kCurrent);
}

// A value that fills the whole 1024-byte buffer has no terminator in it: it counts as no value,
// and nothing after the buffer is read (the guard page would fault).
TEST(RunValue, DataFillingTheWholeBufferIsMissingAndNotReadBeyond) {
    constexpr size_t kBufferBytes = (kLongestRunValue + 1) * sizeof(wchar_t);
    GuardedBuffer buffer(kBufferBytes);
    auto* chars = reinterpret_cast<wchar_t*>(buffer.Data());
    for (size_t i = 0; i < kLongestRunValue + 1; ++i) {
        chars[i] = L'x';
    }
    EXPECT_EQ(JudgeRunValue(chars, kBufferBytes, kExpected), RunValueState::kMissing);
    chars[kLongestRunValue] = L'\0';
    EXPECT_EQ(JudgeRunValue(chars, kBufferBytes, kExpected), RunValueState::kStale);
}
