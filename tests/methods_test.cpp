// The method surface of WebViewHost against the stand-in engine: what each method hands the
// engine, and what it hands back.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "webview/internal.h"
#include "webview/webview_host.h"

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

namespace {

// 中文 in code page 936 and in UTF-8.
constexpr char kGbk[] = "\xD6\xD0\xCE\xC4";
constexpr char kUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87";
const auto kFrame = reinterpret_cast<wkeWebFrameHandle>(7);

// A host with a view of its own (no window), and a clean log.
class Methods : public ::testing::Test {
protected:
    void SetUp() override {
        webview::EnsureEngineStarted();
        host.SetViewHandle(wkeCreateWebView());
        ASSERT_NE(host.GetViewHandle(), nullptr);
        standinClearAnswers();
        standinClearLog();
    }
    void TearDown() override {
        standinClearAnswers();
        if (host.GetViewHandle()) wkeDestroyWebView(host.GetViewHandle());
    }
    std::string V() { return Id(host.GetViewHandle()); }

    WebViewHost host;
};

struct Forwarding {
    const char* name;
    std::function<void(WebViewHost&)> call;
    const char* expected;  // the engine call after the view: "wkeX(V, ...)" is written "wkeX|..."
};

std::string Expected(const char* pattern, const std::string& view) {
    const std::string text = pattern;
    const std::size_t bar = text.find('|');
    const std::string rest = text.substr(bar + 1);
    return text.substr(0, bar) + "(" + view + (rest.empty() ? "" : ", " + rest) + ")";
}

const text::ByteBuffer kNoBytes;

const Forwarding kForwardings[] = {
    {"SetDebugConfig converts the value", [](WebViewHost& h) { h.SetDebugConfig("name", kGbk); },
     "wkeSetDebugConfig|\"name\", \"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"SetDebugConfigUtf8", [](WebViewHost& h) { h.SetDebugConfigUtf8("a", kGbk); },
     "wkeSetDebugConfig|\"a\", \"\xD6\xD0\xCE\xC4\""},
    {"SetNavigationToNewWindowEnable", [](WebViewHost& h) { h.SetNavigationToNewWindowEnable(true); },
     "wkeSetNavigationToNewWindowEnable|true"},
    {"SetMouseEnabled", [](WebViewHost& h) { h.SetMouseEnabled(false); }, "wkeSetMouseEnabled|false"},
    {"SetTouchEnabled", [](WebViewHost& h) { h.SetTouchEnabled(true); }, "wkeSetTouchEnabled|true"},
    {"SetNpapiPluginsEnabled", [](WebViewHost& h) { h.SetNpapiPluginsEnabled(true); },
     "wkeSetNpapiPluginsEnabled|true"},
    {"SetHeadlessEnabled", [](WebViewHost& h) { h.SetHeadlessEnabled(true); }, "wkeSetHeadlessEnabled|true"},
    {"SetDragEnable", [](WebViewHost& h) { h.SetDragEnable(false); }, "wkeSetDragEnable|false"},
    {"SetDragDropEnable", [](WebViewHost& h) { h.SetDragDropEnable(true); }, "wkeSetDragDropEnable|true"},
    {"SetMemoryCacheEnable", [](WebViewHost& h) { h.SetMemoryCacheEnable(true); }, "wkeSetMemoryCacheEnable|true"},
    {"SetName as it is", [](WebViewHost& h) { h.SetName(kGbk); }, "wkeSetName|\"\xD6\xD0\xCE\xC4\""},
    {"SetName absent", [](WebViewHost& h) { h.SetName(nullptr); }, "wkeSetName|null"},
    {"Sleep", [](WebViewHost& h) { h.Sleep(); }, "wkeSleep|"},
    {"Wake", [](WebViewHost& h) { h.Wake(); }, "wkeWake|"},
    {"SetUserAgent", [](WebViewHost& h) { h.SetUserAgent(kGbk); }, "wkeSetUserAgentW|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"SetUserAgentW", [](WebViewHost& h) { h.SetUserAgentW(L"agent"); }, "wkeSetUserAgentW|L\"agent\""},
    {"LoadW", [](WebViewHost& h) { h.LoadW(L"page.html"); }, "wkeLoadW|L\"page.html\""},
    {"LoadURLW", [](WebViewHost& h) { h.LoadURLW(L"https://a.example/"); }, "wkeLoadURLW|L\"https://a.example/\""},
    {"LoadURL converts", [](WebViewHost& h) { h.LoadURL(kGbk); }, "wkeLoadURLW|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"LoadURL absent", [](WebViewHost& h) { h.LoadURL(nullptr); }, "wkeLoadURLW|null"},
    {"LoadHTMLW empty buffer", [](WebViewHost& h) { h.LoadHTMLW(kNoBytes); }, "wkeLoadHTMLW|null"},
    {"LoadHTML", [](WebViewHost& h) { h.LoadHTML("<b>x</b>"); }, "wkeLoadHTMLW|L\"<b>x</b>\""},
    {"LoadHtmlWithBaseUrl converts both", [](WebViewHost& h) { h.LoadHtmlWithBaseUrl(kGbk, kGbk); },
     "wkeLoadHtmlWithBaseUrl|\"\xE4\xB8\xAD\xE6\x96\x87\", \"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"LoadHtmlWithBaseUrlUtf8", [](WebViewHost& h) { h.LoadHtmlWithBaseUrlUtf8(kUtf8, "b"); },
     "wkeLoadHtmlWithBaseUrl|\"\xE4\xB8\xAD\xE6\x96\x87\", \"b\""},
    {"LoadFileW", [](WebViewHost& h) { h.LoadFileW(L"C:\\a"); }, "wkeLoadFileW|L\"C:\\a\""},
    {"LoadFile", [](WebViewHost& h) { h.LoadFile(kGbk); }, "wkeLoadFileW|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"PostURLW", [](WebViewHost& h) { h.PostURLW(L"u", text::BufferRef("ab", 2)); }, "wkePostURLW|L\"u\", 6162, 2"},
    {"PostURL without data", [](WebViewHost& h) { h.PostURL(kGbk, kNoBytes); },
     "wkePostURLW|L\"\xE4\xB8\xAD\xE6\x96\x87\", null, 0"},
    {"StopLoading", [](WebViewHost& h) { h.StopLoading(); }, "wkeStopLoading|"},
    {"Reload", [](WebViewHost& h) { h.Reload(); }, "wkeReload|"},
    {"EditorSelectAll", [](WebViewHost& h) { h.EditorSelectAll(); }, "wkeEditorSelectAll|"},
    {"EditorUnSelect", [](WebViewHost& h) { h.EditorUnSelect(); }, "wkeEditorUnSelect|"},
    {"EditorCopy", [](WebViewHost& h) { h.EditorCopy(); }, "wkeEditorCopy|"},
    {"EditorCut", [](WebViewHost& h) { h.EditorCut(); }, "wkeEditorCut|"},
    {"EditorPaste", [](WebViewHost& h) { h.EditorPaste(); }, "wkeEditorPaste|"},
    {"EditorDelete", [](WebViewHost& h) { h.EditorDelete(); }, "wkeEditorDelete|"},
    {"EditorUndo", [](WebViewHost& h) { h.EditorUndo(); }, "wkeEditorUndo|"},
    {"EditorRedo", [](WebViewHost& h) { h.EditorRedo(); }, "wkeEditorRedo|"},
    {"SetCookie as it is", [](WebViewHost& h) { h.SetCookie("https://a.example", "k=v"); },
     "wkeSetCookie|\"https://a.example\", \"k=v\""},
    {"SetCookieEnabled", [](WebViewHost& h) { h.SetCookieEnabled(false); }, "wkeSetCookieEnabled|false"},
    {"SetCookieJarPathW", [](WebViewHost& h) { h.SetCookieJarPathW(L"jar"); }, "wkeSetCookieJarPath|L\"jar\""},
    {"SetCookieJarPath", [](WebViewHost& h) { h.SetCookieJarPath(kGbk); },
     "wkeSetCookieJarPath|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"SetCookieJarFullPathW", [](WebViewHost& h) { h.SetCookieJarFullPathW(L"f"); }, "wkeSetCookieJarFullPath|L\"f\""},
    {"SetCookieJarFullPath", [](WebViewHost& h) { h.SetCookieJarFullPath("c:\\j"); },
     "wkeSetCookieJarFullPath|L\"c:\\j\""},
    {"SetLocalStorageFullPathW", [](WebViewHost& h) { h.SetLocalStorageFullPathW(L"s"); },
     "wkeSetLocalStorageFullPath|L\"s\""},
    {"SetLocalStorageFullPath", [](WebViewHost& h) { h.SetLocalStorageFullPath(kGbk); },
     "wkeSetLocalStorageFullPath|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"SetMediaVolume", [](WebViewHost& h) { h.SetMediaVolume(0.25f); }, "wkeSetMediaVolume|0.25"},
    {"SetFocus", [](WebViewHost& h) { h.SetFocus(); }, "wkeSetFocus|"},
    {"KillFocus", [](WebViewHost& h) { h.KillFocus(); }, "wkeKillFocus|"},
    {"RunJSW", [](WebViewHost& h) { h.RunJSW(L"1+1"); }, "wkeRunJSW|L\"1+1\""},
    {"RunJS converts to UTF-16", [](WebViewHost& h) { h.RunJS(kGbk); }, "wkeRunJSW|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"RunJSUtf8", [](WebViewHost& h) { h.RunJSUtf8(kUtf8); }, "wkeRunJS|\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"RunJsByFrameUtf8", [](WebViewHost& h) { h.RunJsByFrameUtf8(kFrame, "x", true); },
     "wkeRunJsByFrame|7, \"x\", true"},
    {"RunJsByFrame converts, not in a closure", [](WebViewHost& h) { h.RunJsByFrame(kFrame, kGbk); },
     "wkeRunJsByFrame|7, \"\xE4\xB8\xAD\xE6\x96\x87\", false"},
    {"WebFrameGetMainWorldScriptContext", [](WebViewHost& h) { h.WebFrameGetMainWorldScriptContext(kFrame, 3); },
     "wkeWebFrameGetMainWorldScriptContext|7, 3"},
    {"SetZoomFactor", [](WebViewHost& h) { h.SetZoomFactor(1.5f); }, "wkeSetZoomFactor|1.5"},
    {"SetEditable", [](WebViewHost& h) { h.SetEditable(true); }, "wkeSetEditable|true"},
    {"SetUserKeyValue", [](WebViewHost& h) { h.SetUserKeyValue("key", 42); }, "wkeSetUserKeyValue|\"key\", 42"},
    {"SetCspCheckEnable", [](WebViewHost& h) { h.SetCspCheckEnable(false); }, "wkeSetCspCheckEnable|false"},
    {"SetViewNetInterface", [](WebViewHost& h) { h.SetViewNetInterface("eth0"); }, "wkeSetViewNetInterface|\"eth0\""},
    {"GC", [](WebViewHost& h) { h.GC(30); }, "wkeGC|30"},
    {"SetDeviceParameter with defaults", [](WebViewHost& h) { h.SetDeviceParameter("navigator.maxTouchPoints"); },
     "wkeSetDeviceParameter|\"navigator.maxTouchPoints\", null, 0, 0"},
    {"SetDeviceParameter", [](WebViewHost& h) { h.SetDeviceParameter("screen.width", "x", 1920, 2.5f); },
     "wkeSetDeviceParameter|\"screen.width\", \"x\", 1920, 2.5"},
    {"AddPluginDirectory", [](WebViewHost& h) { h.AddPluginDirectory(kGbk); },
     "wkeAddPluginDirectory|L\"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"AddPluginDirectoryW", [](WebViewHost& h) { h.AddPluginDirectoryW(L"p"); }, "wkeAddPluginDirectory|L\"p\""},
    {"InsertCSSByFrame converts", [](WebViewHost& h) { h.InsertCSSByFrame(kFrame, kGbk); },
     "wkeInsertCSSByFrame|7, \"\xE4\xB8\xAD\xE6\x96\x87\""},
    {"SetResourceGc", [](WebViewHost& h) { h.SetResourceGc(5); }, "wkeSetResourceGc|5"},
    {"GetSource", [](WebViewHost& h) { h.GetSource(); }, "wkeGetSource|"},
    {"GetName", [](WebViewHost& h) { h.GetName(); }, "wkeGetName|"},
    {"IsAwake", [](WebViewHost& h) { h.IsAwake(); }, "wkeIsAwake|"},
    {"GetUserAgent", [](WebViewHost& h) { h.GetUserAgent(); }, "wkeGetUserAgent|"},
    {"GetURL", [](WebViewHost& h) { h.GetURL(); }, "wkeGetURL|"},
    {"GetURLUtf8", [](WebViewHost& h) { h.GetURLUtf8(); }, "wkeGetURL|"},
    {"IsLoading", [](WebViewHost& h) { h.IsLoading(); }, "wkeIsLoading|"},
    {"IsLoadingSucceeded", [](WebViewHost& h) { h.IsLoadingSucceeded(); }, "wkeIsLoadingSucceeded|"},
    {"IsLoadingFailed", [](WebViewHost& h) { h.IsLoadingFailed(); }, "wkeIsLoadingFailed|"},
    {"IsLoadingCompleted", [](WebViewHost& h) { h.IsLoadingCompleted(); }, "wkeIsLoadingCompleted|"},
    {"IsDocumentReady", [](WebViewHost& h) { h.IsDocumentReady(); }, "wkeIsDocumentReady|"},
    {"GetTitle", [](WebViewHost& h) { h.GetTitle(); }, "wkeGetTitleW|"},
    {"GetTitleW", [](WebViewHost& h) { h.GetTitleW(); }, "wkeGetTitleW|"},
    {"GetWidth", [](WebViewHost& h) { h.GetWidth(); }, "wkeGetWidth|"},
    {"GetHeight", [](WebViewHost& h) { h.GetHeight(); }, "wkeGetHeight|"},
    {"GetContentWidth", [](WebViewHost& h) { h.GetContentWidth(); }, "wkeGetContentWidth|"},
    {"GetContentHeight", [](WebViewHost& h) { h.GetContentHeight(); }, "wkeGetContentHeight|"},
    {"CanGoBack", [](WebViewHost& h) { h.CanGoBack(); }, "wkeCanGoBack|"},
    {"GoBack", [](WebViewHost& h) { h.GoBack(); }, "wkeGoBack|"},
    {"CanGoForward", [](WebViewHost& h) { h.CanGoForward(); }, "wkeCanGoForward|"},
    {"GoForward", [](WebViewHost& h) { h.GoForward(); }, "wkeGoForward|"},
    {"GetCookie", [](WebViewHost& h) { h.GetCookie(); }, "wkeGetCookie|"},
    {"GetCookieW", [](WebViewHost& h) { h.GetCookieW(); }, "wkeGetCookieW|"},
    {"IsCookieEnabled", [](WebViewHost& h) { h.IsCookieEnabled(); }, "wkeIsCookieEnabled|"},
    {"GetMediaVolume", [](WebViewHost& h) { h.GetMediaVolume(); }, "wkeGetMediaVolume|"},
    {"GlobalExec", [](WebViewHost& h) { h.GlobalExec(); }, "wkeGlobalExec|"},
    {"GetZoomFactor", [](WebViewHost& h) { h.GetZoomFactor(); }, "wkeGetZoomFactor|"},
    {"GetCursorInfoType", [](WebViewHost& h) { h.GetCursorInfoType(); }, "wkeGetCursorInfoType|"},
    {"GetUserKeyValue", [](WebViewHost& h) { h.GetUserKeyValue("key"); }, "wkeGetUserKeyValue|\"key\""},
    {"WebFrameGetMainFrame", [](WebViewHost& h) { h.WebFrameGetMainFrame(); }, "wkeWebFrameGetMainFrame|"},
    {"IsMainFrame", [](WebViewHost& h) { h.IsMainFrame(kFrame); }, "wkeIsMainFrame|7"},
    {"IsWebRemoteFrame", [](WebViewHost& h) { h.IsWebRemoteFrame(kFrame); }, "wkeIsWebRemoteFrame|7"},
    {"GetGlobalExecByFrame", [](WebViewHost& h) { h.GetGlobalExecByFrame(kFrame); }, "wkeGetGlobalExecByFrame|7"},
    {"GetFrameUrl", [](WebViewHost& h) { h.GetFrameUrl(kFrame); }, "wkeGetFrameUrl|7"},
    {"IsProcessingUserGesture", [](WebViewHost& h) { h.IsProcessingUserGesture(); }, "wkeIsProcessingUserGesture|"},
};

TEST_F(Methods, EachForwardsOneEngineCallWithItsConversions) {
    for (const Forwarding& forwarding : kForwardings) {
        standinClearLog();
        forwarding.call(host);
        EXPECT_THAT(EngineLog(), ElementsAre(Expected(forwarding.expected, V()))) << forwarding.name;
    }
}

TEST_F(Methods, WithoutAViewNoneCallsTheEngine) {
    WebViewHost empty;
    for (const Forwarding& forwarding : kForwardings) forwarding.call(empty);
    empty.SetViewProxy(1, "proxy", 8080);
    const char* files[] = {"a"};
    empty.SetDragFiles(1, 2, 3, 4, files, 1);
    EXPECT_TRUE(empty.CapturePageBitmap().empty());
    empty.OnTitleChanged(nullptr);
    empty.ShowDevtools(nullptr, "p");
    empty.ShowDevtoolsW(nullptr, L"p");
    EXPECT_EQ(empty.NetGetFavicon(nullptr), 0);
    empty.ReleaseAllEvents();
    EXPECT_TRUE(EngineLog().empty());
    EXPECT_STREQ(empty.GetURL().get(), "");
    EXPECT_TRUE(empty.GetTitleW().empty());
    EXPECT_FALSE(empty.IsAwake());
    EXPECT_EQ(empty.GetZoomFactor(), 0.0f);
    EXPECT_EQ(empty.RunJS("1"), 0);
}

TEST_F(Methods, TextResultsAreCopiedAndConverted) {
    standinSetAnswer("wkeGetURL", kUtf8);
    EXPECT_STREQ(host.GetURL().get(), kGbk);
    EXPECT_STREQ(host.GetURLUtf8().get(), kUtf8);
    standinSetAnswer("wkeGetCookie", kUtf8);
    EXPECT_STREQ(host.GetCookie().get(), kGbk);
    standinSetAnswer("wkeGetSource", "<p>");
    EXPECT_STREQ(host.GetSource().get(), "<p>");
    standinSetAnswer("wkeGetFrameUrl", "about:blank");
    EXPECT_STREQ(host.GetFrameUrl(kFrame).get(), "about:blank");
    standinSetAnswer("wkeGetTitleW", kUtf8);
    EXPECT_STREQ(host.GetTitle().get(), kGbk);
    standinSetAnswer("wkeGetCookieW", "k=v");
    const text::Utf16Buffer cookie = host.GetCookieW();
    EXPECT_EQ(std::wstring(cookie.units()), L"k=v");
    host.SetName(kGbk);
    EXPECT_STREQ(host.GetName().get(), kGbk);
    host.SetUserAgent("agent/1");
    EXPECT_STREQ(host.GetUserAgent().get(), "agent/1");
}

TEST_F(Methods, FiveCharacterTitleComesBackAsTwelveBytes) {
    standinSetAnswer("wkeGetTitleW", "Clock");
    const text::Utf16Buffer title = host.GetTitleW();
    ASSERT_EQ(title.size(), 12u);
    EXPECT_EQ(title.data()[10], 0);
    EXPECT_EQ(title.data()[11], 0);
    EXPECT_EQ(std::wstring(title.units()), L"Clock");
}

TEST_F(Methods, MissingTextsGiveEmptyResults) {
    for (const text::HostText& result : {host.GetURL(), host.GetURLUtf8(), host.GetCookie(), host.GetSource(),
                                         host.GetTitle(), host.GetFrameUrl(kFrame)}) {
        ASSERT_FALSE(result.absent());
        EXPECT_STREQ(result.get(), "");
    }
    EXPECT_TRUE(host.GetTitleW().empty());
    EXPECT_TRUE(host.GetCookieW().empty());
}

TEST_F(Methods, OtherResultsPassUnchanged) {
    standinSetAnswer("wkeIsLoading", "1");
    EXPECT_TRUE(host.IsLoading());
    EXPECT_FALSE(host.IsDocumentReady());
    EXPECT_TRUE(host.IsAwake());
    host.Sleep();
    EXPECT_FALSE(host.IsAwake());
    standinSetAnswer("wkeGetCursorInfoType", "5");
    EXPECT_EQ(host.GetCursorInfoType(), 5);
    host.SetZoomFactor(1.25f);
    EXPECT_EQ(host.GetZoomFactor(), 1.25f);
    host.SetMediaVolume(0.5f);
    EXPECT_EQ(host.GetMediaVolume(), 0.5f);
    standinSetAnswer("wkeRunJS", "0x123456789ABCDEF0");
    EXPECT_EQ(host.RunJSUtf8("x"), static_cast<wkeJsValue>(0x123456789ABCDEF0ull));
    standinSetAnswer("wkeRunJSW", "-2");
    EXPECT_EQ(host.RunJS("x"), -2);
    standinSetAnswer("wkeWebFrameGetMainFrame", "77");
    EXPECT_EQ(host.WebFrameGetMainFrame(), reinterpret_cast<wkeWebFrameHandle>(77));
    standinSetAnswer("wkeGetGlobalExecByFrame", "88");
    EXPECT_EQ(host.GetGlobalExecByFrame(kFrame), reinterpret_cast<wkeExecState>(88));
    host.SetUserKeyValue("key", -5);
    EXPECT_EQ(host.GetUserKeyValue("key"), -5);
}

std::vector<std::uint8_t> BytesOfHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

// The proxy record as the engine received it.
std::vector<std::uint8_t> ProxyRecord() {
    const std::vector<std::string> calls = EngineCalls("wkeSetViewProxy");
    if (calls.size() != 1) return {};
    const std::string& call = calls[0];
    const std::size_t start = call.find(", ") + 2;
    return BytesOfHex(call.substr(start, call.size() - start - 1));
}

std::uint32_t Dword(const std::vector<std::uint8_t>& bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) | (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

bool AllZero(const std::vector<std::uint8_t>& bytes, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (bytes[i] != 0) return false;
    return true;
}

TEST_F(Methods, ProxyRecordCutsTheHostNameAt99BytesAndThePortTo16Bits) {
    std::string host150;  // 50 characters of three UTF-8 bytes each
    for (int i = 0; i < 25; ++i) host150 += kGbk;
    host.SetViewProxy(2, host150.c_str(), 70000);
    const std::vector<std::uint8_t> record = ProxyRecord();
    ASSERT_EQ(record.size(), 208u);
    EXPECT_EQ(Dword(record, 0), 2u);
    std::string utf8;
    for (int i = 0; i < 25; ++i) utf8 += kUtf8;
    EXPECT_EQ(std::string(record.begin() + 4, record.begin() + 103), utf8.substr(0, 99));
    EXPECT_EQ(record[103], 0);
    EXPECT_EQ(record[104] | (record[105] << 8), 4464);
    EXPECT_TRUE(AllZero(record, 106, 208));
}

TEST_F(Methods, ProxyRecordHoldsUserAndPasswordInUtf8CutAt49Bytes) {
    const std::string longPassword(60, 'p');
    host.SetViewProxy(1, "proxy.example", 8080, kGbk, longPassword.c_str());
    const std::vector<std::uint8_t> record = ProxyRecord();
    ASSERT_EQ(record.size(), 208u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[4])), "proxy.example");
    EXPECT_EQ(record[104] | (record[105] << 8), 8080);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[106])), kUtf8);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&record[156])), std::string(49, 'p'));
    EXPECT_EQ(record[205], 0);
    EXPECT_TRUE(AllZero(record, 206, 208));
}

TEST_F(Methods, DragFilesBecomeEngineStringsWithTheirLengthInBytes) {
    const char* files[] = {"C:\\a.txt", "\xD6\xD0.txt"};
    host.SetDragFiles(10, 20, 110, 220, files, 2);
    const std::vector<std::string> log = EngineLog();
    ASSERT_EQ(log.size(), 3u);
    EXPECT_EQ(log[0], "wkeCreateStringW(L\"C:\\a.txt\", 16)");
    EXPECT_EQ(log[1], "wkeCreateStringW(L\"\xE4\xB8\xAD.txt\", 10)");
    EXPECT_EQ(log[2].rfind("wkeSetDragFiles(" + V() + ", {10, 20}, {110, 220}, [", 0), 0u) << log[2];
    EXPECT_EQ(log[2].substr(log[2].size() - 5), "], 2)");
}

TEST_F(Methods, PageBitmapIsABmpOfTheContentWithTheViewRestored) {
    wkeResize(host.GetViewHandle(), 320, 240);
    standinSetAnswer("wkeGetContentWidth", "300");
    standinSetAnswer("wkeGetContentHeight", "200");
    standinSetAnswer("wkePaint", "0x11223344");
    standinClearLog();
    const text::ByteBuffer bitmap = host.CapturePageBitmap();

    ASSERT_EQ(bitmap.size(), 240054u);
    const std::vector<std::uint8_t> bytes(bitmap.data(), bitmap.data() + bitmap.size());
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[1], 'M');
    EXPECT_EQ(Dword(bytes, 2), 240054u);
    EXPECT_EQ(Dword(bytes, 6), 0u);
    EXPECT_EQ(Dword(bytes, 10), 54u);
    EXPECT_EQ(Dword(bytes, 14), 40u);
    EXPECT_EQ(Dword(bytes, 18), 300u);
    EXPECT_EQ(static_cast<std::int32_t>(Dword(bytes, 22)), -200);
    EXPECT_EQ(bytes[26] | (bytes[27] << 8), 1);
    EXPECT_EQ(bytes[28] | (bytes[29] << 8), 32);
    EXPECT_EQ(Dword(bytes, 30), 0u);
    EXPECT_EQ(Dword(bytes, 34), 240000u);
    EXPECT_EQ(Dword(bytes, 38), 3780u);
    EXPECT_EQ(Dword(bytes, 42), 3780u);
    EXPECT_EQ(Dword(bytes, 46), 0u);
    EXPECT_EQ(Dword(bytes, 50), 0u);
    EXPECT_EQ(Dword(bytes, 54), 0x11223344u);
    EXPECT_EQ(Dword(bytes, 240050), 0x11223344u);

    const std::string v = V();
    const std::vector<std::string> log = EngineLog();
    ASSERT_EQ(log.size(), 9u);
    EXPECT_EQ(log[0], "wkeRunJS(" + v + ", \"document.body.style.overflow='hidden'\")");
    EXPECT_EQ(log[5], "wkeResize(" + v + ", 300, 200)");
    EXPECT_EQ(log[6].rfind("wkePaint(" + v + ", ", 0), 0u);
    EXPECT_EQ(log[6].substr(log[6].size() - 4), ", 0)");
    EXPECT_EQ(log[7], "wkeResize(" + v + ", 320, 240)");
    EXPECT_EQ(log[8], "wkeRunJS(" + v + ", \"document.body.style.overflow='visible'\")");
    EXPECT_EQ(host.GetWidth(), 320);
    EXPECT_EQ(host.GetHeight(), 240);
}

TEST_F(Methods, PageBitmapOfUnusableSizesIsEmptyAndLeavesTheViewAlone) {
    wkeResize(host.GetViewHandle(), 320, 240);
    for (const auto& [width, height] :
         std::vector<std::pair<const char*, const char*>>{{"0", "200"}, {"300", "-1"}, {"40000", "40000"}}) {
        standinSetAnswer("wkeGetContentWidth", width);
        standinSetAnswer("wkeGetContentHeight", height);
        standinClearLog();
        EXPECT_TRUE(host.CapturePageBitmap().empty()) << width << " x " << height;
        EXPECT_TRUE(EngineCalls("wkeResize").empty());
        EXPECT_EQ(EngineLog().back(), "wkeRunJS(" + V() + ", \"document.body.style.overflow='visible'\")");
    }
}

// Routines of every argument count that page events use: they record what they receive.
std::vector<std::uint32_t> g_received;

template <typename... Words>
std::int64_t __stdcall Recording(Words... words) {
    g_received = {static_cast<std::uint32_t>(words)...};
    return (static_cast<std::int64_t>(0x0BADF00D) << 32) | sizeof...(Words);
}

using W = std::uint32_t;
const void* RoutineOf(int arguments) {
    switch (arguments) {
        case 2: return reinterpret_cast<const void*>(&Recording<W, W>);
        case 3: return reinterpret_cast<const void*>(&Recording<W, W, W>);
        case 4: return reinterpret_cast<const void*>(&Recording<W, W, W, W>);
        case 5: return reinterpret_cast<const void*>(&Recording<W, W, W, W, W>);
        case 6: return reinterpret_cast<const void*>(&Recording<W, W, W, W, W, W>);
        case 7: return reinterpret_cast<const void*>(&Recording<W, W, W, W, W, W, W>);
    }
    return nullptr;
}

struct PageEventCase {
    const char* method;
    const char* key;
    const char* engineFunction;  // the stand-in's name of the event
    int arguments;
    std::function<void(WebViewHost&, const void*, void*)> subscribe;
};

const PageEventCase kPageEventCases[] = {
    {"OnTitleChanged", "kxOnTitleChange", "wkeOnTitleChanged", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnTitleChanged(r, u); }},
    {"OnURLChanged", "kxOnUrlChange", "wkeOnURLChanged", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnURLChanged(r, u); }},
    {"OnURLChanged2", "kxOnUrlChange2", "wkeOnURLChanged2", 4,
     [](WebViewHost& h, const void* r, void* u) { h.OnURLChanged2(r, u); }},
    {"OnAlertBox", "kxOnAlertBox", "wkeOnAlertBox", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnAlertBox(r, u); }},
    {"OnConfirmBox", "kxOnConfirmBox", "wkeOnConfirmBox", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnConfirmBox(r, u); }},
    {"OnPromptBox", "kxOnPromptBox", "wkeOnPromptBox", 5,
     [](WebViewHost& h, const void* r, void* u) { h.OnPromptBox(r, u); }},
    {"OnNavigation", "kxOnNavigation", "wkeOnNavigation", 4,
     [](WebViewHost& h, const void* r, void* u) { h.OnNavigation(r, u); }},
    {"OnCreateView", "kxOnCreateView", "wkeOnCreateView", 5,
     [](WebViewHost& h, const void* r, void* u) { h.OnCreateView(r, u); }},
    {"OnDocumentReady", "kxOnDocumentReady", "wkeOnDocumentReady", 2,
     [](WebViewHost& h, const void* r, void* u) { h.OnDocumentReady(r, u); }},
    {"OnDocumentReady2", "kxOnDocumentReady2", "wkeOnDocumentReady2", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnDocumentReady2(r, u); }},
    {"OnLoadingFinish", "kxOnLoadingFinish", "wkeOnLoadingFinish", 5,
     [](WebViewHost& h, const void* r, void* u) { h.OnLoadingFinish(r, u); }},
    {"OnDownload", "kxOnDownload", "wkeOnDownload", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnDownload(r, u); }},
    {"OnConsole", "kxOnConsole", "wkeOnConsole", 7, [](WebViewHost& h, const void* r, void* u) { h.OnConsole(r, u); }},
    {"OnLoadUrlBegin", "kxOnLoadUrlBegin", "wkeOnLoadUrlBegin", 4,
     [](WebViewHost& h, const void* r, void* u) { h.OnLoadUrlBegin(r, u); }},
    {"OnLoadUrlEnd", "kxOnLoadUrlEnd", "wkeOnLoadUrlEnd", 6,
     [](WebViewHost& h, const void* r, void* u) { h.OnLoadUrlEnd(r, u); }},
    {"OnDidCreateScriptContext", "kxOnDidCreateScriptContext", "wkeOnDidCreateScriptContext", 6,
     [](WebViewHost& h, const void* r, void* u) { h.OnDidCreateScriptContext(r, u); }},
    {"OnWillReleaseScriptContext", "kxOnWillReleaseScriptContext", "wkeOnWillReleaseScriptContext", 5,
     [](WebViewHost& h, const void* r, void* u) { h.OnWillReleaseScriptContext(r, u); }},
    {"NetOnResponse", "kxOnResponse", "wkeNetOnResponse", 4,
     [](WebViewHost& h, const void* r, void* u) { h.NetOnResponse(r, u); }},
    {"OnMouseOverUrlChanged", "kxOnMouseOverUrlChanged", "wkeOnMouseOverUrlChanged", 3,
     [](WebViewHost& h, const void* r, void* u) { h.OnMouseOverUrlChanged(r, u); }},
    {"OnWillMediaLoad", "kxOnWillMediaLoad", "wkeOnWillMediaLoad", 4,
     [](WebViewHost& h, const void* r, void* u) { h.OnWillMediaLoad(r, u); }},
    {"ShowDevtoolsW", "kxOnShowDevtools", "wkeShowDevtools", 2,
     [](WebViewHost& h, const void* r, void* u) { h.ShowDevtoolsW(r, L"C:\\tools", u); }},
    {"ShowDevtools", "kxOnShowDevtools", "wkeShowDevtools", 2,
     [](WebViewHost& h, const void* r, void* u) { h.ShowDevtools(r, "C:\\\xD6\xD0", u); }},
    {"NetGetFavicon", "kxOnNetGetFavicon", "wkeNetGetFavicon", 4,
     [](WebViewHost& h, const void* r, void* u) { h.NetGetFavicon(r, u); }},
};

TEST_F(Methods, EachPageEventSubscribesAThunkThatHandsTheRoutineTheEnginesArguments) {
    for (const PageEventCase& event : kPageEventCases) {
        standinClearLog();
        void* user = reinterpret_cast<void*>(0x1234);
        event.subscribe(host, RoutineOf(event.arguments), user);
        const auto thunk = static_cast<wkeCallback>(wkeGetUserKeyValue(host.GetViewHandle(), event.key));
        ASSERT_NE(thunk, nullptr) << event.method;
        void* param = nullptr;
        EXPECT_EQ(standinSubscription(host.GetViewHandle(), event.engineFunction, &param), thunk) << event.method;
        EXPECT_EQ(param, user) << event.method;

        std::vector<std::uint32_t> extra;
        for (int i = 0; i < event.arguments - 2; ++i) extra.push_back(100 + i);
        g_received.clear();
        const std::int64_t result =
            standinFire(host.GetViewHandle(), event.engineFunction, extra.data(), static_cast<int>(extra.size()));
        std::vector<std::uint32_t> expected = {
            static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(host.GetViewHandle())), 0x1234};
        expected.insert(expected.end(), extra.begin(), extra.end());
        EXPECT_EQ(g_received, expected) << event.method;
        EXPECT_EQ(result, (static_cast<std::int64_t>(0x0BADF00D) << 32) | event.arguments) << event.method;
    }
}

TEST_F(Methods, SubscribingTellsTheEngineTheThunkAndTheUserValue) {
    host.OnTitleChanged(RoutineOf(3));
    const std::string thunk = Id(wkeGetUserKeyValue(host.GetViewHandle(), "kxOnTitleChange"));
    EXPECT_THAT(EngineLog(), ElementsAre("wkeGetUserKeyValue(" + V() + ", \"kxOnTitleChange\")",
                                         "wkeSetUserKeyValue(" + V() + ", \"kxOnTitleChange\", " + thunk + ")",
                                         "wkeOnTitleChanged(" + V() + ", " + thunk + ", 0)",
                                         "wkeGetUserKeyValue(" + V() + ", \"kxOnTitleChange\")"));
    standinClearLog();
    host.ShowDevtools(RoutineOf(2), "C:\\\xD6\xD0", reinterpret_cast<void*>(9));
    const std::string devtools = Id(wkeGetUserKeyValue(host.GetViewHandle(), "kxOnShowDevtools"));
    EXPECT_EQ(EngineCalls("wkeShowDevtools"),
              std::vector<std::string>{"wkeShowDevtools(" + V() + ", L\"C:\\\xE4\xB8\xAD\", " + devtools + ", 9)"});
    standinSetAnswer("wkeNetGetFavicon", "3");
    EXPECT_EQ(host.NetGetFavicon(RoutineOf(4)), 3);
}

bool IsReleased(const void* block) {
    MEMORY_BASIC_INFORMATION memory{};
    return VirtualQuery(block, &memory, sizeof memory) != 0 && memory.State == MEM_FREE;
}

// A replaced thunk is released; its address may already serve the new one.
bool IsReplaced(const void* previous, const void* current) { return previous == current || IsReleased(previous); }

TEST_F(Methods, ASecondSubscriptionFreesTheFirstThunk) {
    host.OnConsole(RoutineOf(7));
    void* first = wkeGetUserKeyValue(host.GetViewHandle(), "kxOnConsole");
    host.OnConsole(RoutineOf(7));
    void* second = wkeGetUserKeyValue(host.GetViewHandle(), "kxOnConsole");
    EXPECT_TRUE(IsReplaced(first, second));
    EXPECT_FALSE(IsReleased(second));

    // One key serves both devtools methods.
    host.ShowDevtoolsW(RoutineOf(2), L"a");
    void* wide = wkeGetUserKeyValue(host.GetViewHandle(), "kxOnShowDevtools");
    host.ShowDevtools(RoutineOf(2), "b");
    EXPECT_TRUE(IsReplaced(wide, wkeGetUserKeyValue(host.GetViewHandle(), "kxOnShowDevtools")));
    host.ReleaseAllEvents();
}

TEST_F(Methods, ReleasingWithoutSubscriptionsOnlyLooksTheKeysUp) {
    host.ReleaseAllEvents();
    const std::vector<std::string> log = EngineLog();
    ASSERT_EQ(log.size(), 23u);
    for (const std::string& entry : log)
        EXPECT_EQ(entry.rfind("wkeGetUserKeyValue(" + V() + ", \"kxOn", 0), 0u) << entry;
}

TEST_F(Methods, ReleasingEndsEverySubscriptionInItsOrder) {
    for (const PageEventCase& event : kPageEventCases) event.subscribe(host, RoutineOf(event.arguments), nullptr);
    std::vector<void*> thunks;
    for (const PageEventCase& event : kPageEventCases)
        thunks.push_back(wkeGetUserKeyValue(host.GetViewHandle(), event.key));
    standinClearLog();
    host.ReleaseAllEvents();

    const std::string v = V();
    std::vector<std::string> expected;
    for (const PageEventCase& event : kPageEventCases) {
        if (std::string(event.method) == "ShowDevtools") continue;  // shares the key of ShowDevtoolsW
        if (std::string(event.key) == "kxOnResponse") {
            expected.push_back("wkeGetUserKeyValue(" + v + ", \"kxOnPaintUpdate\")");
        }
        expected.push_back("wkeGetUserKeyValue(" + v + ", \"" + event.key + "\")");
        if (event.engineFunction != std::string("wkeShowDevtools") &&
            event.engineFunction != std::string("wkeNetGetFavicon"))
            expected.push_back(std::string(event.engineFunction) + "(" + v + ", 0, 0)");
        expected.push_back("wkeSetUserKeyValue(" + v + ", \"" + event.key + "\", 0)");
    }
    // The paint key comes after "kxOnLoadUrlEnd" and before "kxOnDidCreateScriptContext".
    std::vector<std::string> ordered;
    for (const std::string& entry : expected) {
        if (entry == "wkeGetUserKeyValue(" + v + ", \"kxOnPaintUpdate\")") continue;
        ordered.push_back(entry);
        if (entry == "wkeSetUserKeyValue(" + v + ", \"kxOnLoadUrlEnd\", 0)")
            ordered.push_back("wkeGetUserKeyValue(" + v + ", \"kxOnPaintUpdate\")");
    }
    EXPECT_THAT(EngineLog(), ElementsAreArray(ordered));
    for (std::size_t i = 0; i < thunks.size(); ++i) {
        if (std::string(kPageEventCases[i].method) == "ShowDevtoolsW") continue;  // replaced by ShowDevtools
        EXPECT_TRUE(IsReleased(thunks[i])) << kPageEventCases[i].method;
    }
}

}  // namespace
