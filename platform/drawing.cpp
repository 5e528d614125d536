#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cmath>

#include "platform/services.h"
#include "platform/services_internal.h"

namespace {

SDL_Color SdlColour(uint32_t colour) {
    return {static_cast<Uint8>(RedOf(colour)), static_cast<Uint8>(GreenOf(colour)),
            static_cast<Uint8>(BlueOf(colour)), 255};
}

// Cuts the line to the target, with a pixel to spare on every side, before
// any integer arithmetic: end points far off the target must neither overflow
// nor turn into a line of billions of pixels. False when nothing is inside.
bool ClipLine(int32_t width, int32_t height, int32_t& x1, int32_t& y1, int32_t& x2, int32_t& y2) {
    const double startX = x1;
    const double startY = y1;
    const double dx = x2 - startX;
    const double dy = y2 - startY;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {startX + 1, width - startX, startY + 1, height - startY};
    double enter = 0;
    double leave = 1;
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
        } else if (p[i] < 0) {
            enter = std::max(enter, q[i] / p[i]);
        } else {
            leave = std::min(leave, q[i] / p[i]);
        }
    }
    if (enter > leave) {
        return false;
    }
    x1 = static_cast<int32_t>(std::lround(startX + enter * dx));
    y1 = static_cast<int32_t>(std::lround(startY + enter * dy));
    x2 = static_cast<int32_t>(std::lround(startX + leave * dx));
    y2 = static_cast<int32_t>(std::lround(startY + leave * dy));
    return true;
}

// Both end points are drawn.
void SpriteLine(Sprite& sprite, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    const int32_t dx = std::abs(x2 - x1);
    const int32_t dy = -std::abs(y2 - y1);
    const int32_t sx = x1 < x2 ? 1 : -1;
    const int32_t sy = y1 < y2 ? 1 : -1;
    int32_t err = dx + dy;
    while (true) {
        SetSpritePixel(sprite, x1, y1, colour);
        if (x1 == x2 && y1 == y2) {
            return;
        }
        const int32_t twice = 2 * err;
        if (twice >= dy) {
            err += dy;
            x1 += sx;
        }
        if (twice <= dx) {
            err += dx;
            y1 += sy;
        }
    }
}

void SpriteRect(Sprite& sprite, int32_t x, int32_t y, int32_t width, int32_t height,
                uint32_t colour, bool outline) {
    const int64_t right = int64_t{x} + width - 1;
    const int64_t bottom = int64_t{y} + height - 1;
    const int64_t lastRow = std::min<int64_t>(bottom, sprite.height - 1);
    const int64_t lastColumn = std::min<int64_t>(right, sprite.width - 1);
    for (int64_t py = std::max<int64_t>(y, 0); py <= lastRow; ++py) {
        for (int64_t px = std::max<int64_t>(x, 0); px <= lastColumn; ++px) {
            bool edge = px == x || px == right || py == y || py == bottom;
            if (!outline || edge) {
                SetSpritePixel(sprite, static_cast<int32_t>(px), static_cast<int32_t>(py), colour);
            }
        }
    }
}

int32_t Mix(int32_t over, int32_t under, int32_t alpha) {
    return (over * alpha + under * (255 - alpha) + 127) / 255;
}

// Text into a sprite: the rendered glyphs are blended into its pixels.
void SpriteText(Sprite& sprite, SDL_Surface* text, int32_t x, int32_t y) {
    SDL_Surface* argb = SDL_ConvertSurfaceFormat(text, SDL_PIXELFORMAT_ARGB8888, 0);
    if (argb == nullptr) {
        return;
    }
    for (int ty = 0; ty < argb->h; ++ty) {
        const auto* row = reinterpret_cast<const uint32_t*>(
            static_cast<const uint8_t*>(argb->pixels) + ty * argb->pitch);
        for (int tx = 0; tx < argb->w; ++tx) {
            const int32_t alpha = static_cast<int32_t>(row[tx] >> 24);
            const int64_t px = int64_t{x} + tx;
            const int64_t py = int64_t{y} + ty;
            if (alpha == 0 || px < 0 || py < 0 || px >= sprite.width || py >= sprite.height) {
                continue;
            }
            const size_t at = static_cast<size_t>(py) * sprite.width + static_cast<size_t>(px);
            const uint32_t under = ColourOfStored(sprite.pixels[at]);
            const uint32_t over = ColourOfStored(row[tx]);
            SetSpritePixel(sprite, static_cast<int32_t>(px), static_cast<int32_t>(py),
                           MakeColour(Mix(RedOf(over), RedOf(under), alpha),
                                      Mix(GreenOf(over), GreenOf(under), alpha),
                                      Mix(BlueOf(over), BlueOf(under), alpha)));
        }
    }
    SDL_FreeSurface(argb);
}

SDL_Surface* RenderGlyphs(Services& services, const std::string& text, uint32_t textColour,
                          uint32_t backColour) {
    return (services.drawingMode & kTransparentText) != 0
               ? TTF_RenderUTF8_Blended(services.sdl->font, text.c_str(), SdlColour(textColour))
               : TTF_RenderUTF8_Shaded(services.sdl->font, text.c_str(), SdlColour(textColour),
                                       SdlColour(backColour));
}

// The cached line for this text, made (in the place of the line used least
// recently) when it is not there yet; null when it cannot be made.
TextLine* ScreenTextLine(Services& services, const std::string& text, uint32_t textColour,
                         uint32_t backColour) {
    const bool transparent = (services.drawingMode & kTransparentText) != 0;
    TextLine* oldest = &services.sdl->textLines[0];
    for (TextLine& line : services.sdl->textLines) {
        if (line.texture != nullptr && line.text == text && line.textColour == textColour &&
            line.transparent == transparent && (transparent || line.backColour == backColour)) {
            line.lastUse = ++services.sdl->textUses;
            return &line;
        }
        if (line.lastUse < oldest->lastUse) {
            oldest = &line;
        }
    }
    SDL_Surface* glyphs = RenderGlyphs(services, text, textColour, backColour);
    if (glyphs == nullptr) {
        return nullptr;
    }
    if (oldest->texture != nullptr) {
        SDL_DestroyTexture(oldest->texture);
    }
    *oldest = {text,
               textColour,
               backColour,
               transparent,
               SDL_CreateTextureFromSurface(services.sdl->renderer, glyphs),
               glyphs->w,
               glyphs->h,
               ++services.sdl->textUses};
    SDL_FreeSurface(glyphs);
    return oldest->texture != nullptr ? oldest : nullptr;
}

void ScreenText(Services& services, const std::string& text, uint32_t textColour,
                uint32_t backColour, int32_t x, int32_t y) {
    const TextLine* line = ScreenTextLine(services, text, textColour, backColour);
    if (line == nullptr) {
        return;
    }
    SDL_Rect to = {x, y, line->width, line->height};
    SDL_RenderCopy(services.sdl->renderer, line->texture, nullptr, &to);
}

bool CanDraw(const Services& services) {
    return services.drawing &&
           (services.drawingSprite != nullptr || services.sdl->renderer != nullptr);
}

}  // namespace

void BeginDrawing(Services& services, DrawingTarget target) {
    EndDrawing(services);
    if (target.sprite == kBackBuffer) {
        services.drawing = true;
        return;
    }
    auto found = services.sprites.find(target.sprite);
    if (found != services.sprites.end()) {
        services.drawing = true;
        services.drawingSprite = &found->second;
    }
}

void EndDrawing(Services& services) {
    services.drawing = false;
    services.drawingSprite = nullptr;
}

void SetDrawingMode(Services& services, int32_t flags) {
    services.drawingMode = flags;
}

void SetDefaultColour(Services& services, uint32_t colour) {
    services.defaultColour = colour;
}

void PutPixel(Services& services, int32_t x, int32_t y, uint32_t colour) {
    if (!CanDraw(services)) {
        return;
    }
    if (services.drawingSprite != nullptr) {
        SetSpritePixel(*services.drawingSprite, x, y, colour);
        return;
    }
    SetRenderColour(services.sdl->renderer, colour);
    SDL_RenderDrawPoint(services.sdl->renderer, x, y);
}

void DrawLine(Services& services, int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    DrawLine(services, x1, y1, x2, y2, services.defaultColour);
}

void DrawLine(Services& services, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour) {
    if (!CanDraw(services)) {
        return;
    }
    Sprite* sprite = services.drawingSprite;
    const int32_t width = sprite != nullptr ? sprite->width : services.screenWidth;
    const int32_t height = sprite != nullptr ? sprite->height : services.screenHeight;
    if (!ClipLine(width, height, x1, y1, x2, y2)) {
        return;
    }
    if (sprite != nullptr) {
        SpriteLine(*sprite, x1, y1, x2, y2, colour);
        return;
    }
    SetRenderColour(services.sdl->renderer, colour);
    SDL_RenderDrawLine(services.sdl->renderer, x1, y1, x2, y2);
}

void DrawRect(Services& services, int32_t x, int32_t y, int32_t width, int32_t height,
              uint32_t colour) {
    if (!CanDraw(services) || width <= 0 || height <= 0) {
        return;
    }
    const bool outline = (services.drawingMode & kOutlineRects) != 0;
    if (services.drawingSprite != nullptr) {
        SpriteRect(*services.drawingSprite, x, y, width, height, colour, outline);
        return;
    }
    SDL_Rect rect = {x, y, width, height};
    SetRenderColour(services.sdl->renderer, colour);
    if (outline) {
        SDL_RenderDrawRect(services.sdl->renderer, &rect);
    } else {
        SDL_RenderFillRect(services.sdl->renderer, &rect);
    }
}

void DrawString(Services& services, int32_t x, int32_t y, const std::string& text,
                uint32_t textColour, uint32_t backColour) {
    if (!CanDraw(services) || services.sdl->font == nullptr || text.empty()) {
        return;
    }
    if (services.drawingSprite == nullptr) {
        ScreenText(services, text, textColour, backColour, x, y);
        return;
    }
    SDL_Surface* glyphs = RenderGlyphs(services, text, textColour, backColour);
    if (glyphs == nullptr) {
        return;
    }
    SpriteText(*services.drawingSprite, glyphs, x, y);
    SDL_FreeSurface(glyphs);
}
