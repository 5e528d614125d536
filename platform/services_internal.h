#pragma once

// What the parts of the SDL services share with each other; no other code
// includes this.

#include <SDL.h>
#include <SDL_ttf.h>

#include <map>
#include <string>

#include "platform/services.h"

// A line of text already turned into a texture. The heads-up lines change
// about once a second and the help overlay's never, so the frame mostly
// reuses their textures instead of rendering glyphs and making textures anew;
// there is room for the help's lines and the study view's beside them.
struct TextLine {
    std::string text;
    uint32_t textColour = 0;
    uint32_t backColour = 0;
    bool transparent = false;
    SDL_Texture* texture = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    uint64_t lastUse = 0;
};
constexpr int32_t kCachedTextLines = 48;

struct SdlObjects {
    SDL_Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
    TTF_Font* font = nullptr;  // null: text is left out
    // Each sprite's texture by the sprite's number, made when first drawn.
    std::map<int32_t, SDL_Texture*> spriteTextures;
    SDL_Texture* screenImage = nullptr;  // DrawScreenImage's, made when first used
    TextLine textLines[kCachedTextLines];
    uint64_t textUses = 0;
};

// The sprite's texture, made or refreshed from its pixels as needed; null
// when the sprite is missing or no texture can be made.
SDL_Texture* SpriteTexture(Services& services, int32_t number);

// Drops every texture (the display device was reset, or the screen closes);
// they are made again from the sprites' pixels when next used.
void ForgetTextures(Services& services);

inline void SetRenderColour(SDL_Renderer* renderer, uint32_t colour) {
    SDL_SetRenderDrawColor(renderer, RedOf(colour), GreenOf(colour), BlueOf(colour), 255);
}

// Sprites keep black with alpha 0, so that a textured quad shows it as
// transparent, and every other colour opaque.
inline uint32_t StoredPixel(uint32_t colour) {
    uint32_t rgb = static_cast<uint32_t>(RedOf(colour)) << 16 |
                   static_cast<uint32_t>(GreenOf(colour)) << 8 |
                   static_cast<uint32_t>(BlueOf(colour));
    return rgb == 0 ? 0 : 0xFF000000u | rgb;
}

inline uint32_t ColourOfStored(uint32_t argb) {
    return MakeColour((argb >> 16) & 0xFF, (argb >> 8) & 0xFF, argb & 0xFF);
}

inline void SetSpritePixel(Sprite& sprite, int32_t x, int32_t y, uint32_t colour) {
    if (x < 0 || y < 0 || x >= sprite.width || y >= sprite.height) {
        return;
    }
    sprite.pixels[static_cast<size_t>(y) * sprite.width + x] = StoredPixel(colour);
    sprite.changed = true;
}
