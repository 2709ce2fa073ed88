#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "common/text.h"

TEST(TextSharing, EmptyTextsShareOneTerminatedBlock) {
    const Text a, b(L""), c(nullptr), d(L"abc", 0);
    EXPECT_EQ(a.c_str(), b.c_str());
    EXPECT_EQ(a.c_str(), c.c_str());
    EXPECT_EQ(a.c_str(), d.c_str());
    EXPECT_STREQ(a.c_str(), L"");
    EXPECT_TRUE(c.Empty());
    EXPECT_TRUE(a == nullptr);
}

TEST(TextSharing, ChangingACopyLeavesTheOriginalAlone) {
    const Text original(L"Hello #AP#");
    Text appended(original), replaced(original), lowered(original), buffered(original);
    EXPECT_EQ(appended.c_str(), original.c_str());

    appended += L"!";
    replaced.Replace(L"#AP#", L"Velmora");
    lowered.MakeLower();
    buffered.GetBuffer(32)[0] = L'J';
    buffered.ReleaseBuffer();

    EXPECT_EQ(original, L"Hello #AP#");
    EXPECT_EQ(appended, L"Hello #AP#!");
    EXPECT_EQ(replaced, L"Hello Velmora");
    EXPECT_EQ(lowered, L"hello #ap#");
    EXPECT_EQ(buffered, L"Jello #AP#");
}

TEST(TextSharing, AssignmentAndMoveKeepBothSidesSound) {
    Text a(L"one");
    const Text& same = a;  // through a reference, as self-assignment comes about in real code
    a = same;
    EXPECT_EQ(a, L"one");
    Text b(L"two");
    b = a;
    EXPECT_EQ(b.c_str(), a.c_str());
    Text moved(std::move(b));
    EXPECT_TRUE(b.Empty());  // NOLINT: a moved-from text is the empty text
    EXPECT_EQ(moved, L"one");
    a = Text(L"three");
    EXPECT_EQ(a, L"three");
    EXPECT_EQ(moved, L"one");
    EXPECT_FALSE(a == moved);
    EXPECT_TRUE(Text(L"ab") == Text(L"abc", 2));
}

TEST(TextAppend, AppendsAndConcatenates) {
    Text t(L"ab");
    t += Text(L"cd");
    t += nullptr;
    t.Append(L"efgh", 2);
    t.Append(L"x\0yz", 4);  // stops at the terminator
    EXPECT_EQ(t, L"abcdefx");
    EXPECT_EQ(t.Length(), 7);
    EXPECT_EQ(L"<" + t + L">", L"<abcdefx>");
}

TEST(TextAppend, AppendingATextToItselfDoublesIt) {
    Text t(L"abc");
    t += t;
    EXPECT_EQ(t, L"abcabc");
    t.GetBuffer(100);  // room to spare: the source now lies inside the block that is written
    t.ReleaseBuffer();
    t += t;
    EXPECT_EQ(t, L"abcabcabcabc");
    t.Append(t.c_str() + 9, 3);
    EXPECT_EQ(t, L"abcabcabcabcabc");
    Text copy(t);
    copy += copy;  // shared block, unshared while appending from it
    EXPECT_EQ(copy.Length(), 30);
    EXPECT_EQ(t.Length(), 15);
}

TEST(TextAppend, LongRunsOfAppendsKeepEveryCharacter) {
    Text t;
    std::wstring expected;
    for (int i = 0; i < 5000; ++i) {
        const wchar_t c[2] = {static_cast<wchar_t>(L'a' + i % 26), 0};
        t += c;
        expected += c;
    }
    EXPECT_EQ(t, expected.c_str());
}

TEST(TextReplace, ReplacesEveryOccurrenceLeftToRight) {
    Text t(L"#AP# starts; quit #AP#.");
    EXPECT_EQ(t.Replace(L"#AP#", L"Velmora"), 2);
    EXPECT_EQ(t, L"Velmora starts; quit Velmora.");

    Text adjacent(L"ababab");
    EXPECT_EQ(adjacent.Replace(L"ab", L"x"), 3);
    EXPECT_EQ(adjacent, L"xxx");

    Text overlapping(L"aaaaa");
    EXPECT_EQ(overlapping.Replace(L"aa", L"b"), 2);
    EXPECT_EQ(overlapping, L"bba");

    Text removed(L"a-b-c");
    EXPECT_EQ(removed.Replace(L"-", nullptr), 2);
    EXPECT_EQ(removed, L"abc");
}

TEST(TextReplace, ReplacementHoldingTheNeedleIsNotReplacedAgain) {
    Text t(L"x a x");
    EXPECT_EQ(t.Replace(L"x", L"xx"), 2);
    EXPECT_EQ(t, L"xx a xx");
    EXPECT_EQ(t.Replace(t.c_str(), t.c_str()), 1);  // needle and replacement inside the text
    EXPECT_EQ(t, L"xx a xx");
}

TEST(TextReplace, EmptyOrAbsentNeedleChangesNothing) {
    Text t(L"abc");
    const wchar_t* before = t.c_str();
    EXPECT_EQ(t.Replace(L"", L"x"), 0);
    EXPECT_EQ(t.Replace(nullptr, L"x"), 0);
    EXPECT_EQ(t.Replace(L"abcd", L"x"), 0);
    EXPECT_EQ(t.Replace(L"z", L"x"), 0);
    EXPECT_EQ(t.c_str(), before);
    Text empty;
    EXPECT_EQ(empty.Replace(L"a", L"b"), 0);
}

TEST(TextSearch, FindsACharacterFromAPosition) {
    const Text t(L"a=b=c");
    EXPECT_EQ(t.Find(L'='), 1);
    EXPECT_EQ(t.Find(L'=', 2), 3);
    EXPECT_EQ(t.Find(L'=', 4), -1);
    EXPECT_EQ(t.Find(L'a', -5), 0);
    EXPECT_EQ(t.Find(L'\0'), -1);
    EXPECT_EQ(Text().Find(L'a'), -1);
}

TEST(TextLower, LowersNonAsciiLettersToo) {
    Text t(L"ÉTÉ Straße ÅB");
    EXPECT_EQ(t.MakeLower(), L"été straße åb");
}

TEST(TextBuffer, ReleaseTakesTheLengthUpToTheFirstTerminator) {
    Text t(L"keep");
    wchar_t* buffer = t.GetBuffer(260);
    ASSERT_NE(buffer, nullptr);
    EXPECT_STREQ(buffer, L"keep");
    wmemcpy(buffer, L"C:\\Temp\\", 9);
    t.ReleaseBuffer();
    EXPECT_EQ(t, L"C:\\Temp\\");
    EXPECT_EQ(t.Length(), 8);

    buffer = t.GetBuffer(3);
    buffer[1] = L'\0';
    t.ReleaseBuffer();
    EXPECT_EQ(t, L"C");
}

TEST(TextBuffer, ReleaseStopsAtTheCapacityWhenNoTerminatorWasWritten) {
    Text t;
    wchar_t* buffer = t.GetBuffer(4);
    wmemset(buffer, L'z', 4);
    t.ReleaseBuffer();
    EXPECT_EQ(t.Length(), 4);
    EXPECT_EQ(t, L"zzzz");
}

TEST(TextBuffer, ZeroAndBadSizesLeaveTheSharedEmptyTextAlone) {
    Text t;
    wchar_t* buffer = t.GetBuffer(0);
    ASSERT_NE(buffer, nullptr);
    EXPECT_NE(buffer, Text().c_str());
    buffer[0] = L'\0';
    t.ReleaseBuffer();
    EXPECT_EQ(t.c_str(), Text().c_str());

    Text kept(L"kept");
    EXPECT_EQ(kept.GetBuffer(-1), nullptr);
    EXPECT_EQ(kept.GetBuffer(INT_MAX), nullptr);
    EXPECT_EQ(kept.GetBuffer(Text::kMaxLength + 1), nullptr);
    EXPECT_EQ(kept, L"kept");
}

TEST(TextFormat, FormatsIntegersWithWidthAndZeroPadding) {
    EXPECT_EQ(Text::Format(L"%02d:%02d", 7, 45), L"07:45");
    EXPECT_EQ(Text::Format(L"#%02X%02X%02X", 0x0A, 0xFF, 0), L"#0AFF00");
    EXPECT_EQ(Text::Format(L"%d %i %u", -2147483647 - 1, 42, 4294967295u), L"-2147483648 42 4294967295");
    EXPECT_EQ(Text::Format(L"%05d|%-4d|%4d|%.3d", -42, 7, 7, 5), L"-0042|7   |   7|005");
    EXPECT_EQ(Text::Format(L"%x %X %lx %08x", 0xbeefu, 0xbeefu, 0u, 0xffffffffu), L"beef BEEF 0 ffffffff");
}

TEST(TextFormat, FormatsStringsCharactersAndPercentSigns) {
    EXPECT_EQ(Text::Format(L"[%s] [%5s] [%-5s] [%.2s]", L"ab", L"ab", L"ab", L"abcdef"), L"[ab] [   ab] [ab   ] [ab]");
    EXPECT_EQ(Text::Format(L"%s", static_cast<const wchar_t*>(nullptr)), L"(null)");
    EXPECT_EQ(Text::Format(L"%c%c%c", L'o', 0, L'k'), L"ok");
    EXPECT_EQ(Text::Format(L"100%% %s", L"done"), L"100% done");
    EXPECT_EQ(Text::Format(L"%q %y 50%"), L"%q %y 50%");  // unknown conversions take no argument
    EXPECT_TRUE(Text::Format(nullptr).Empty());
}

TEST(TextFormat, HasNoLengthLimit) {
    const std::wstring longText(5000, L'x');
    const Text t = Text::Format(L"<%s|%s>", longText.c_str(), L"end");
    EXPECT_EQ(t.Length(), 5006);
    EXPECT_EQ(t, (L"<" + longText + L"|end>").c_str());
    EXPECT_EQ(Text::Format(L"%3000d", 1).Length(), 3000);
}

TEST(TextFormat, RefusesFloatingPointConversionsWithoutReadingArguments) {
    // Were the %s read, it would take a pointer that was never passed.
    EXPECT_TRUE(Text::Format(L"%s %f").Empty());
    EXPECT_TRUE(Text::Format(L"%e").Empty());
    EXPECT_TRUE(Text::Format(L"%d %-8.2g", 1).Empty());
    EXPECT_TRUE(Text::Format(L"%G", 1.5).Empty());
}

TEST(TextFormat, WidthBeyondTheLongestTextGivesEmptyText) {
    EXPECT_TRUE(Text::Format(L"%2000000000d", 1).Empty());
    EXPECT_TRUE(Text::Format(L"%99999999999999999999s", L"x").Empty());
}

TEST(TextConstruction, ReadsAnsiTextInTheSystemCodePage) {
    EXPECT_EQ(Text::FromAnsi("plain"), L"plain");
    EXPECT_EQ(Text::FromAnsi("abcdef", 3), L"abc");
    EXPECT_TRUE(Text::FromAnsi(nullptr).Empty());
    EXPECT_TRUE(Text::FromAnsi("abc", -1).Empty());
    if (GetACP() != 1252) {
        GTEST_SKIP() << "ANSI code page " << GetACP();
    }
    EXPECT_EQ(Text::FromAnsi("caf\xE9 \x80 5"), L"caf\u00E9 \u20AC 5");
}

TEST(TextConstruction, LoadsStringResourcesWhole) {
    EXPECT_TRUE(Text::FromResource(65000).Empty());  // the test program has no string table
    const HMODULE user32 = GetModuleHandleW(L"user32.dll");
    wchar_t expected[512] = {};
    ASSERT_GT(LoadStringW(user32, 2, expected, 512), 0);  // the message box's caption "Error"
    EXPECT_EQ(Text::FromResource(2, user32), expected);
}
