#pragma once

#include <fstream>

#include "app/weapon_records.h"
#include "platform/win_app.h"

// The application object: InitInstance runs the main dialog modally, and nothing else.
class EditorApp : public platform::WinApp {
  public:
    EditorApp(std::fstream& mapFile, WeaponRecords& weapons)
        : mapFile_(mapFile), weapons_(weapons) {}

    bool InitInstance() override;

  private:
    std::fstream& mapFile_;
    WeaponRecords& weapons_;
};

// Everything static construction builds, in its order: the application object, the closed
// map stream that will hold the map open, and the fifteen records, each read at once.
// The programs keep one as a global; tests build as many as they like.
struct StartUp {
    StartUp() : app(g_mapFile, weapons) {}

    EditorApp app;
    std::fstream g_mapFile;
    WeaponRecords weapons;
};
