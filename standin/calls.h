// How each exported wke function is recorded and answered.
//
// Every export runs Run(): it records the call in the log, answers 0 when it is given view 0, and
// otherwise does what Behave() does for that function. The generic Behave() answers from the
// scripted answers by the function's name; functions with state of their own overload it.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <tuple>
#include <type_traits>

#include "standin/state.h"

namespace standin {

#define STANDIN_ENUMERATE(result, name, parameters, arguments) name,
enum class Fn { WKE_FUNCTIONS(STANDIN_ENUMERATE) };
#undef STANDIN_ENUMERATE

template <Fn F>
struct Tag {};

std::string Quote(const char* text);
std::string Quote(const wchar_t* text);
std::string Hex(const void* bytes, std::size_t size);

template <typename T>
std::string Arg(T value) {
    if constexpr (std::is_same_v<T, bool>) {
        return value ? "true" : "false";
    } else if constexpr (std::is_same_v<T, const char*> || std::is_same_v<T, const wchar_t*>) {
        return Quote(value);
    } else if constexpr (std::is_same_v<T, const wkeProxy*>) {
        return value ? Hex(value, sizeof *value) : "null";
    } else if constexpr (std::is_same_v<T, const POINT*>) {
        return value ? "{" + std::to_string(value->x) + ", " + std::to_string(value->y) + "}" : "null";
    } else if constexpr (std::is_pointer_v<T>) {
        return std::to_string(reinterpret_cast<std::uintptr_t>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%g", static_cast<double>(value));
        return buffer;
    } else {
        return std::to_string(value);
    }
}

template <Fn F, typename... A>
void Describe(Tag<F>, const char* name, A... arguments) {
    std::string entry = name;
    entry += '(';
    [[maybe_unused]] const char* separator = "";
    ((entry += separator, entry += Arg(arguments), separator = ", "), ...);
    entry += ')';
    Record(std::move(entry));
}

// Texts handed to the host stay valid until the same function answers again.
const char* Keep(const char* function, std::string text);
const wchar_t* Keep(const char* function, std::wstring text);

// The scripted answer of a function, converted to whatever the function returns.
struct ScriptedAnswer {
    const char* function;

    template <typename R>
    explicit operator R() const {
        const std::string* answer = Answer(function);
        if constexpr (std::is_same_v<R, const char*>) {
            return answer ? Keep(function, *answer) : nullptr;
        } else if constexpr (std::is_same_v<R, const wchar_t*>) {
            return answer ? Keep(function, Utf8ToUtf16(*answer)) : nullptr;
        } else if constexpr (std::is_pointer_v<R>) {
            return reinterpret_cast<R>(answer ? std::strtoull(answer->c_str(), nullptr, 0) : 0);
        } else if constexpr (std::is_floating_point_v<R>) {
            return answer ? static_cast<R>(std::atof(answer->c_str())) : R{};
        } else if constexpr (std::is_same_v<R, bool>) {
            return answer && std::atoi(answer->c_str()) != 0;
        } else {
            return answer ? static_cast<R>(std::strtoll(answer->c_str(), nullptr, 0)) : R{};
        }
    }
};

template <Fn F, typename... A>
ScriptedAnswer Behave(Tag<F>, const char* name, A...) {
    return {name};
}

void Subscribe(const char* event, wkeWebView view, wkeCallback routine, void* param);

// The page-event subscriptions: (view, routine, user value).
template <Fn F>
ScriptedAnswer Behave(Tag<F>, const char* name, wkeWebView view, wkeCallback routine, void* param) {
    Subscribe(name, view, routine, param);
    return {name};
}

template <typename... A>
bool HasNullView(A... arguments) {
    return (... || [](auto value) {
        if constexpr (std::is_same_v<decltype(value), wkeWebView>)
            return value == nullptr;
        else
            return false;
    }(arguments));
}

template <typename R, Fn F, typename... A>
R Run(Tag<F> tag, const char* name, std::tuple<A...> arguments) {
    std::apply([&](auto... a) { Describe(tag, name, a...); }, arguments);
    if (std::apply([](auto... a) { return HasNullView(a...); }, arguments)) {
        if constexpr (std::is_void_v<R>)
            return;
        else
            return R{};
    }
    return static_cast<R>(std::apply([&](auto... a) { return Behave(tag, name, a...); }, arguments));
}

}  // namespace standin
