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

namespace {

// Hostile input: the conversions stay inside their buffers and always end their texts.
TEST(HostileText, AMegabyteOfChineseTextConvertsBothWays) {
    std::string text;
    for (int i = 0; i < 512 * 1024; ++i) text += kGbkZhong;
    const text::Utf16Buffer wide = text::TextToUtf16(text.c_str());
    ASSERT_EQ(wide.size(), (512u * 1024u + 1u) * 2u);
    const text::HostText back = text::Utf16ToText(wide);
    EXPECT_EQ(back.size(), text.size());
    EXPECT_EQ(std::memcmp(back.get(), text.data(), text.size()), 0);
    EXPECT_EQ(std::strlen(text::TextToUtf8(text.c_str()).get()), 512u * 1024u * 3u);
}

TEST(HostileText, BrokenSequencesGiveEndedTexts) {
    const char* broken[] = {"\x81", "\xD6", "a\xFF\xFE", "\x81\x30\x81", "\xE4\xB8"};
    for (const char* input : broken) {
        const text::Utf16Buffer wide = text::TextToUtf16(input);
        ASSERT_FALSE(wide.empty()) << input;
        EXPECT_EQ(wide.units()[wide.size() / 2 - 1], L'\0');
        EXPECT_NE(text::Utf8ToText(input).get(), nullptr);
        EXPECT_NE(text::TextToUtf8(input).get(), nullptr);
    }
    const wchar_t loneSurrogate[] = {0xD800, L'x', 0};
    const text::HostText fromSurrogate = text::WideCStringToText(loneSurrogate);
    ASSERT_NE(fromSurrogate.get(), nullptr);
    EXPECT_LE(std::strlen(fromSurrogate.get()), 4u);
}

TEST(HostileText, OddAndUnendedBuffersStayInside) {
    std::vector<BYTE> bytes;  // 2048 units of 中 and half of another, no NUL
    for (int i = 0; i < 2048; ++i) bytes.insert(bytes.end(), {0x2D, 0x4E});
    bytes.push_back(0x2D);
    const text::HostText text = text::Utf16ToText(bytes.data(), bytes.size());
    ASSERT_NE(text.get(), nullptr);
    EXPECT_EQ(std::strlen(text.get()), 2048u * 2u);  // two bytes each in code page 936
    EXPECT_STREQ(text::Utf16ToText(bytes.data(), 1).get(), "");
}

}  // namespace
