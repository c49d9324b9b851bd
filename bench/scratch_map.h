#pragma once

#include <string>

// A scratch folder holding a fresh demo map, made the working directory for the object's life.
class ScratchMap {
  public:
    ScratchMap();
    ~ScratchMap();
    ScratchMap(const ScratchMap&) = delete;
    ScratchMap& operator=(const ScratchMap&) = delete;

  private:
    std::string previous_;
    std::string path_;
};
