#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes colours (red + green × 256 + blue × 65536, row by row) as an RGB
// PNG. False, with the reason in `error`, when it cannot.
bool WritePng(const std::vector<uint32_t>& colours, int32_t width, int32_t height,
              const std::string& file, std::string& error);
