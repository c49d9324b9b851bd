#include "platform/backend.h"

namespace platform {

namespace {
Backend* g_backend = nullptr;
}

Backend& CurrentBackend() {
    return *g_backend;
}
void SetBackend(Backend* backend) {
    g_backend = backend;
}

}  // namespace platform
