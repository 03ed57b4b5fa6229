#include "engine/engine.h"

#include "engine/binding.h"

#define WKE_DEFINE_BOUND(result, name, parameters, arguments)                         \
    result name parameters {                                                          \
        static result(WKE_CALL* boundFunction) parameters = nullptr;                  \
        return engine::Bound(boundFunction, engine::kEngineLibrary, #name) arguments; \
    }
WKE_FUNCTIONS(WKE_DEFINE_BOUND)
#undef WKE_DEFINE_BOUND
