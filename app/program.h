#pragma once

#include "app/editor_app.h"

// The program's start-up objects. Every program links this one definition, so there is exactly
// one application object and one set of records, and they are built by static construction
// before main: the application object first, then the map stream, then the records in
// weapon-list order, so each record's read has happened before the dialog can show it.
StartUp& TheStartUp();
