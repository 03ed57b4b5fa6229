#include "engine/engine.h"

#define WKE_DEFINE_BOUND(result, name, parameters, arguments) \
    result name parameters { ENGINE_BOUND_BODY(result, name, parameters, arguments) }
WKE_FUNCTIONS(WKE_DEFINE_BOUND)
#undef WKE_DEFINE_BOUND
