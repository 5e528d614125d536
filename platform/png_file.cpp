#include "platform/png_file.h"

#include <SDL.h>
#include <SDL_image.h>

#include "platform/services.h"

bool WritePng(const std::vector<uint32_t>& colours, int32_t width, int32_t height,
              const std::string& file, std::string& error) {
    if (width <= 0 || height <= 0 || colours.size() != static_cast<size_t>(width) * height) {
        error = "no picture to write";
        return false;
    }
    SDL_Surface* surface =
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 24, SDL_PIXELFORMAT_RGB24);
    if (surface == nullptr) {
        error = std::string("cannot make the picture: ") + SDL_GetError();
        return false;
    }
    for (int32_t y = 0; y < height; ++y) {
        auto* row = static_cast<uint8_t*>(surface->pixels) + y * surface->pitch;
        for (int32_t x = 0; x < width; ++x) {
            uint32_t colour = colours[static_cast<size_t>(y) * width + x];
            row[3 * x] = static_cast<uint8_t>(RedOf(colour));
            row[3 * x + 1] = static_cast<uint8_t>(GreenOf(colour));
            row[3 * x + 2] = static_cast<uint8_t>(BlueOf(colour));
        }
    }
    bool saved = IMG_SavePNG(surface, file.c_str()) == 0;
    if (!saved) {
        error = "cannot write '" + file + "': " + SDL_GetError();
    }
    SDL_FreeSurface(surface);
    return saved;
}
