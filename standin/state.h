// The stand-in engine's views, call log and scripted answers.
#pragma once

#include <windows.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/wke.h"

namespace standin {

struct Event {
    const char* function;  // the wke function that subscribes it
    int arguments;         // how many 32-bit arguments the engine passes to the routine
};

constexpr Event kEvents[] = {
    {"wkeOnTitleChanged", 3},
    {"wkeOnURLChanged", 3},
    {"wkeOnURLChanged2", 4},
    {"wkeOnAlertBox", 3},
    {"wkeOnConfirmBox", 3},
    {"wkeOnPromptBox", 5},
    {"wkeOnNavigation", 4},
    {"wkeOnCreateView", 5},
    {"wkeOnDocumentReady", 2},
    {"wkeOnDocumentReady2", 3},
    {"wkeOnLoadingFinish", 5},
    {"wkeOnDownload", 3},
    {"wkeOnConsole", 7},
    {"wkeOnLoadUrlBegin", 4},
    {"wkeOnLoadUrlEnd", 6},
    {"wkeOnPaintUpdated", 7},
    {"wkeOnDidCreateScriptContext", 6},
    {"wkeOnWillReleaseScriptContext", 5},
    {"wkeOnMouseOverUrlChanged", 3},
    {"wkeOnWillMediaLoad", 4},
    {"wkeNetOnResponse", 4},
    {"wkeShowDevtools", 2},
    {"wkeNetGetFavicon", 4},
};
constexpr int kEventCount = sizeof kEvents / sizeof kEvents[0];
int EventIndex(const char* function);  // -1 when unknown

struct Subscription {
    wkeCallback routine = nullptr;
    void* param = nullptr;
};

struct View {
    ~View();
    void Resize(int newWidth, int newHeight);

    HWND host = nullptr;
    int width = 0;
    int height = 0;
    bool transparent = false;
    bool awake = true;
    bool cookieEnabled = true;
    float zoom = 1.0f;
    float volume = 1.0f;
    std::string name;
    std::string userAgent;
    std::map<std::string, void*> keys;
    Subscription subscriptions[kEventCount];

    // A 32-bit top-down DIB section of the view's size (at least 1 x 1), selected into dc.
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ initialBitmap = nullptr;
    void* bits = nullptr;

    // Texts handed out stay valid until the next call that hands out the same kind.
    std::string narrowResult;
    std::wstring wideResult;
};

View* Find(wkeWebView view);
wkeWebView Create();
void Destroy(wkeWebView view);
int ViewCount();

extern bool g_initialized;

// Scripted answers.
const std::string* Answer(const char* function);
void SetAnswer(const char* function, const char* value);
void ClearAnswers();
bool AnswerFlag(const char* function);
int AnswerInt(const char* function, int otherwise);

// The call log.
void Record(std::string entry);
void SetLogging(bool enabled);
const std::vector<std::string>& Log();
void ClearLog();

std::string Utf16ToUtf8(const wchar_t* text);
std::wstring Utf8ToUtf16(const std::string& text);

}  // namespace standin
