#pragma once

// Reading a PNG back for the tests that compare pictures pixel for pixel.

#include <SDL.h>
#include <SDL_image.h>

#include <cstdint>
#include <string>
#include <vector>

// The picture as 0xRRGGBB values row by row; empty when it cannot be read.
struct Picture {
    std::vector<uint32_t> pixels;
    int32_t width = 0;
    int32_t height = 0;
};

inline Picture ReadPng(const std::string& file) {
    Picture picture;
    SDL_Surface* loaded = IMG_Load(file.c_str());
    if (loaded == nullptr) {
        return picture;
    }
    SDL_Surface* rgb = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB888, 0);
    SDL_FreeSurface(loaded);
    if (rgb == nullptr) {
        return picture;
    }
    picture.width = rgb->w;
    picture.height = rgb->h;
    for (int y = 0; y < rgb->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(rgb->pixels) + y * rgb->pitch);
        for (int x = 0; x < rgb->w; ++x) {
            picture.pixels.push_back(row[x] & 0xFFFFFFu);
        }
    }
    SDL_FreeSurface(rgb);
    return picture;
}
