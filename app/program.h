#pragma once

#include "app/editor_app.h"

// The program's start-up objects. Every program links the one definition, so they are built
// by static construction before main, in their documented order.
StartUp& TheStartUp();
