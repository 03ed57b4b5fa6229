// The engine's functions as the host calls them: each is bound by name in node.dll at its first
// call (see binding.h) and keeps its address from then on.
#pragma once

#include "engine/binding.h"
#include "engine/wke.h"

namespace engine {
constexpr const char kEngineLibrary[] = "node.dll";
}

// The body of a function of node.dll (C convention) that binds itself by name at its first call.
#define ENGINE_BOUND_BODY(result, name, parameters, arguments)   \
    static result(WKE_CALL* boundFunction) parameters = nullptr; \
    return engine::Bound(boundFunction, engine::kEngineLibrary, #name) arguments;

#define WKE_DECLARE_BOUND(result, name, parameters, arguments) result name parameters;
WKE_FUNCTIONS(WKE_DECLARE_BOUND)
#undef WKE_DECLARE_BOUND
