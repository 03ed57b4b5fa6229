// The stand-in engine's test interface, bound by name in node.dll like the engine's functions.
#pragma once

#include <string>
#include <vector>

#include "engine/engine.h"
#include "standin/standin.h"

#define STANDIN_CLIENT(result, name, parameters, arguments) \
    inline result name parameters { ENGINE_BOUND_BODY(result, name, parameters, arguments) }
STANDIN_FUNCTIONS(STANDIN_CLIENT)
#undef STANDIN_CLIENT

// The engine calls recorded since the log was last cleared.
inline std::vector<std::string> EngineLog() {
    std::vector<std::string> log;
    for (int i = 0; i < standinLogSize(); ++i) log.emplace_back(standinLogEntry(i));
    return log;
}

// The recorded calls of one engine function.
inline std::vector<std::string> EngineCalls(const std::string& function) {
    std::vector<std::string> calls;
    for (const std::string& entry : EngineLog())
        if (entry.compare(0, function.size() + 1, function + "(") == 0) calls.push_back(entry);
    return calls;
}
