#pragma once

#include <cstdint>
#include <ctime>
#include <string>
#include <vector>

// The first name in `folder` that no file has yet: tumble-YYYYMMDD-HHMMSS.png
// for the given local time, then the same with -2, -3 … before ".png".
std::string FreeScreenshotPath(const std::string& folder, const std::tm& local);

// Writes the frame's pixels as a PNG under the first free name for the time
// now; the path goes into `path`. False, with the reason in `error`, when the
// picture cannot be written.
bool SaveScreenshot(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                    const std::string& folder, std::string& path, std::string& error);
