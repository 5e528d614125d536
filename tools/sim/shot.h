#pragma once

// Pictures for tumble-sim: the frame the window would show, drawn by the
// window's own RenderFrame on an offscreen software renderer and written as
// a PNG.

#include <memory>
#include <string>

#include "session/session.h"

class ShotCamera {
   public:
    ShotCamera();
    ~ShotCamera();
    ShotCamera(const ShotCamera&) = delete;
    ShotCamera& operator=(const ShotCamera&) = delete;

    // False, with the reason in `error`, when the picture cannot be drawn or written.
    bool Write(const Session& session, const std::string& file, std::string& error);

    // Off: the study view leaves out its milliseconds, so that a script's
    // pictures come out the same on every run.
    bool showTimes = true;

   private:
    struct Offscreen;
    std::unique_ptr<Offscreen> offscreen_;  // started at the first picture
};
