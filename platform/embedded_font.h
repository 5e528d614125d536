#pragma once

// DejaVu Sans Mono, built into the program so that no font file is needed at
// run time.

#include <cstddef>

extern const unsigned char kEmbeddedFont[];
extern const std::size_t kEmbeddedFontSize;
