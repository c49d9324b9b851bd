#include "app/program.h"

namespace {
StartUp g_startUp;
}

StartUp& TheStartUp() {
    return g_startUp;
}
