// The host's text conversions, run on Wine's own code page tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "webview/text.h"

namespace {

// 中 in code page 936 and in UTF-8, and its UTF-16 unit.
constexpr char kGbkZhong[] = "\xD6\xD0";
constexpr char kUtf8Zhong[] = "\xE4\xB8\xAD";
constexpr wchar_t kZhong = 0x4E2D;

std::vector<BYTE> Bytes(const text::ByteBuffer& buffer) {
    return std::vector<BYTE>(buffer.data(), buffer.data() + buffer.size());
}

TEST(TextToUtf16, ChineseCharacterGivesItsUnitAndANulUnit) {
    const text::Utf16Buffer buffer = text::TextToUtf16(kGbkZhong);
    EXPECT_EQ(Bytes(buffer), (std::vector<BYTE>{0x2D, 0x4E, 0x00, 0x00}));
}

TEST(TextToUtf16, AbsentTextGivesAnEmptyBufferAndEmptyTextOneNulUnit) {
    const text::Utf16Buffer absent = text::TextToUtf16(nullptr);
    EXPECT_TRUE(absent.empty());
    EXPECT_EQ(absent.data(), nullptr);

    const text::Utf16Buffer empty = text::TextToUtf16("");
    EXPECT_EQ(Bytes(empty), (std::vector<BYTE>{0x00, 0x00}));
}

TEST(TextToUtf16, CodePageCanBeChosen) {
    const text::Utf16Buffer buffer = text::TextToUtf16(kUtf8Zhong, CP_UTF8);
    ASSERT_EQ(buffer.size(), 4u);
    EXPECT_EQ(buffer.units()[0], kZhong);
}

TEST(Utf16ToText, ConvertsBackToCodePage936) {
    const text::HostText result = text::Utf16ToText(text::TextToUtf16("Quillora \xD6\xD0"));
    EXPECT_STREQ(result.get(), "Quillora \xD6\xD0");
}

TEST(Utf16ToText, OddLastByteIsIgnored) {
    // "ABC" and half of a fourth unit: only the first two units are converted.
    const BYTE bytes[] = {'A', 0, 'B', 0, 'C'};
    const text::HostText result = text::Utf16ToText(bytes, 5);
    EXPECT_STREQ(result.get(), "AB");
}

TEST(Utf16ToText, EmptyBufferGivesAPresentEmptyText) {
    const text::HostText result = text::Utf16ToText(text::Utf16Buffer{});
    ASSERT_FALSE(result.absent());
    EXPECT_STREQ(result.get(), "");
}

TEST(Utf16ToText, UnitsWithoutANulStillGiveAnEndedText) {
    const wchar_t units[] = {L'h', L'i'};
    const text::HostText result = text::Utf16ToText(reinterpret_cast<const BYTE*>(units), sizeof units);
    EXPECT_STREQ(result.get(), "hi");
}

TEST(Utf16ToText, CharacterOutsideCodePage936BecomesItsDefaultCharacter) {
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(936, &info));
    const wchar_t hangul[] = {0xD55C, 0};  // 한: no code-page-936 form
    const text::HostText result = text::WideCStringToText(hangul);
    EXPECT_EQ(std::string(result.get()), std::string(1, static_cast<char>(info.DefaultChar[0])));
}

TEST(CStringToUtf16, ConvertsUpToAndIncludingTheNul) {
    const text::Utf16Buffer buffer = text::CStringToUtf16("ab");
    EXPECT_EQ(Bytes(buffer), (std::vector<BYTE>{'a', 0, 'b', 0, 0, 0}));
    EXPECT_TRUE(text::CStringToUtf16(nullptr).empty());
}

TEST(WideCStringToText, ConvertsAndNullGivesEmptyText) {
    const wchar_t zhong[] = {kZhong, 0};
    EXPECT_STREQ(text::WideCStringToText(zhong).get(), kGbkZhong);
    EXPECT_STREQ(text::WideCStringToText(nullptr).get(), "");
}

TEST(Utf8, ChineseCharacterBothWays) {
    EXPECT_STREQ(text::TextToUtf8(kGbkZhong).get(), kUtf8Zhong);
    EXPECT_STREQ(text::Utf8ToText(kUtf8Zhong).get(), kGbkZhong);
}

TEST(Utf8, EmptyOrAbsentGivesPresentEmptyText) {
    for (const char* input : {static_cast<const char*>(nullptr), ""}) {
        const text::HostText toUtf8 = text::TextToUtf8(input);
        const text::HostText fromUtf8 = text::Utf8ToText(input);
        ASSERT_FALSE(toUtf8.absent());
        ASSERT_FALSE(fromUtf8.absent());
        EXPECT_STREQ(toUtf8.get(), "");
        EXPECT_STREQ(fromUtf8.get(), "");
    }
}

}  // namespace
