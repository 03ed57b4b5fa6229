#include "standin/state.h"

#include <cstdlib>
#include <cstring>

namespace standin {
namespace {

std::map<std::uintptr_t, std::unique_ptr<View>> g_views;
std::uintptr_t g_nextView = 1;
// QUILLORA_STANDIN_ANSWERS="function=value;function=value" scripts answers for a whole program,
// as tests that run it from outside need.
std::map<std::string, std::string> AnswersFromEnvironment() {
    std::map<std::string, std::string> answers;
    char text[1024];
    const DWORD length = GetEnvironmentVariableA("QUILLORA_STANDIN_ANSWERS", text, sizeof text);
    if (length == 0 || length >= sizeof text) return answers;
    std::string all(text, length);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find(';', start);
        if (end == std::string::npos) end = all.size();
        const std::string pair = all.substr(start, end - start);
        const std::size_t equals = pair.find('=');
        if (equals != std::string::npos) answers[pair.substr(0, equals)] = pair.substr(equals + 1);
        start = end + 1;
    }
    return answers;
}

std::map<std::string, std::string> g_answers = AnswersFromEnvironment();
std::vector<std::string> g_log;

// With QUILLORA_STANDIN_LOG set, the log also goes to that file, a call a line, for tests that
// watch a whole program from outside.
void AppendToLogFile(const std::string& entry) {
    static HANDLE file = [] {
        char path[MAX_PATH];
        const DWORD length = GetEnvironmentVariableA("QUILLORA_STANDIN_LOG", path, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return INVALID_HANDLE_VALUE;
        return CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    }();
    if (file == INVALID_HANDLE_VALUE) return;
    const std::string line = entry + "\n";
    DWORD written = 0;
    WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

bool g_initialized = false;

int EventIndex(const char* function) {
    for (int i = 0; i < kEventCount; ++i)
        if (std::strcmp(kEvents[i].function, function) == 0) return i;
    return -1;
}

View::~View() {
    if (dc) {
        SelectObject(dc, initialBitmap);
        DeleteDC(dc);
    }
    if (bitmap) DeleteObject(bitmap);
}

void View::Resize(int newWidth, int newHeight) {
    width = newWidth;
    height = newHeight;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = newWidth > 0 ? newWidth : 1;
    info.bmiHeader.biHeight = -(newHeight > 0 ? newHeight : 1);  // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* newBits = nullptr;
    HBITMAP newBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &newBits, nullptr, 0);
    if (!newBitmap) return;
    if (!dc) {
        dc = CreateCompatibleDC(nullptr);
        initialBitmap = SelectObject(dc, newBitmap);
    } else {
        SelectObject(dc, newBitmap);
        DeleteObject(bitmap);
    }
    bitmap = newBitmap;
    bits = newBits;
}

View* Find(wkeWebView view) {
    auto found = g_views.find(reinterpret_cast<std::uintptr_t>(view));
    return found == g_views.end() ? nullptr : found->second.get();
}

wkeWebView Create() {
    const std::uintptr_t id = g_nextView++;
    auto view = std::make_unique<View>();
    view->Resize(0, 0);
    g_views[id] = std::move(view);
    return reinterpret_cast<wkeWebView>(id);
}

void Destroy(wkeWebView view) { g_views.erase(reinterpret_cast<std::uintptr_t>(view)); }

int ViewCount() { return static_cast<int>(g_views.size()); }

const std::string* Answer(const char* function) {
    auto found = g_answers.find(function);
    return found == g_answers.end() ? nullptr : &found->second;
}

void SetAnswer(const char* function, const char* value) { g_answers[function] = value ? value : ""; }

void ClearAnswers() { g_answers.clear(); }

bool AnswerFlag(const char* function) { return AnswerInt(function, 0) != 0; }

int AnswerInt(const char* function, int otherwise) {
    const std::string* answer = Answer(function);
    return answer ? std::atoi(answer->c_str()) : otherwise;
}

bool g_logging = true;

void SetLogging(bool enabled) { g_logging = enabled; }

void Record(std::string entry) {
    if (!g_logging) return;
    AppendToLogFile(entry);
    g_log.push_back(std::move(entry));
}

const std::vector<std::string>& Log() { return g_log; }

void ClearLog() { g_log.clear(); }

std::string Utf16ToUtf8(const wchar_t* text) {
    const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return {};
    std::string result(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &result[0], bytes, nullptr, nullptr);
    result.pop_back();
    return result;
}

std::wstring Utf8ToUtf16(const std::string& text) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
    if (units <= 1) return {};
    std::wstring result(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, &result[0], units);
    result.pop_back();
    return result;
}

}  // namespace standin
