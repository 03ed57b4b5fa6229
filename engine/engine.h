// The engine's functions as the host calls them: each is bound by name in node.dll at its first
// call (see binding.h) and keeps its address from then on.
#pragma once

#include "engine/wke.h"

namespace engine {
constexpr const char kEngineLibrary[] = "node.dll";
}

#define WKE_DECLARE_BOUND(result, name, parameters, arguments) result name parameters;
WKE_FUNCTIONS(WKE_DECLARE_BOUND)
#undef WKE_DECLARE_BOUND
