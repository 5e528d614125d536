#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/services.h"
#include "platform/services_internal.h"
#include "platform/triangle_spans.h"

namespace {

// Far more than the 1000 × 1000 light gradient; a larger request (a radius
// near the 16-bit limit) would take gigabytes, so it makes an empty sprite.
constexpr int32_t kMaxSpriteSide = 4096;

// Texture coordinates of the four corners: the quad covers the whole image.
constexpr float kCornerU[4] = {0, 1, 1, 0};
constexpr float kCornerV[4] = {0, 0, 1, 1};

Sprite* FindSprite(Services& services, int32_t number) {
    auto found = services.sprites.find(number);
    return found == services.sprites.end() ? nullptr : &found->second;
}

// Of a triangle's two windings only the clockwise one (on the screen, y
// downwards) is drawn: the back-face rule a caller relies on when it submits
// every triangle in both orders.
void AddIfFrontFacing(SDL_Vertex* triangles, int& count, const SDL_Vertex& a, const SDL_Vertex& b,
                      const SDL_Vertex& c) {
    float cross = (b.position.x - a.position.x) * (c.position.y - a.position.y) -
                  (b.position.y - a.position.y) * (c.position.x - a.position.x);
    if (cross > 0) {
        triangles[count++] = a;
        triangles[count++] = b;
        triangles[count++] = c;
    }
}

// A corner the spans cover exactly as SDL would.
bool IsSpanCorner(const SDL_FPoint& p) {
    const auto fits = [](float v) { return v == std::floor(v) && std::fabs(v) <= kMaxSpanCorner; };
    return fits(p.x) && fits(p.y);
}

GridPoint GridCorner(const SDL_Vertex& v) {
    return {static_cast<int32_t>(v.position.x), static_cast<int32_t>(v.position.y)};
}

// SDL's software renderer fills a triangle by testing every pixel of its
// bounding box, and the shadows' long thin triangles leave most of their
// boxes empty, while together they cover much of the screen many times
// over. So a plain fill on that renderer is gathered instead: each
// triangle's covered pixels (exactly those SDL would fill) are marked, and
// EndQuads hands SDL the marked runs of each row as rectangles one pixel
// high: every pixel is tested once and written once. Triangles with corners
// between whole pixels, or on a scaled screen, are left to SDL, and so is
// every triangle on other renderers, which fill triangles their own way.
bool CanGather(const Services& services, const SDL_Vertex* triangles, int count) {
    if (!services.softwareRenderer) {
        return false;
    }
    float scaleX = 0;
    float scaleY = 0;
    SDL_RenderGetScale(services.sdl->renderer, &scaleX, &scaleY);
    if (scaleX != 1 || scaleY != 1) {
        return false;
    }
    return std::all_of(triangles, triangles + count,
                       [](const SDL_Vertex& v) { return IsSpanCorner(v.position); });
}

void FillGathered(Services& services) {
    GatheredFill& fill = services.gathered;
    if (fill.top >= fill.bottom) {
        return;
    }
    SDL_SetRenderDrawColor(services.sdl->renderer, RedOf(fill.colour), GreenOf(fill.colour),
                           BlueOf(fill.colour), 255);
    SDL_SetRenderDrawBlendMode(services.sdl->renderer, SDL_BLENDMODE_NONE);
    constexpr int kBatch = 256;
    SDL_Rect runs[kBatch];
    int used = 0;
    for (int32_t y = fill.top; y < fill.bottom; ++y) {
        uint8_t* const row = fill.covered.data() + static_cast<size_t>(y) * fill.width;
        uint8_t* const end = row + fill.width;
        uint8_t* start = std::find(row, end, 1);
        while (start != end) {
            uint8_t* const stop = std::find(start, end, 0);
            std::fill(start, stop, 0);  // clear again for the next gathering
            runs[used++] = {static_cast<int>(start - row), y, static_cast<int>(stop - start), 1};
            if (used == kBatch) {
                SDL_RenderFillRects(services.sdl->renderer, runs, used);
                used = 0;
            }
            start = std::find(stop, end, 1);
        }
    }
    if (used > 0) {
        SDL_RenderFillRects(services.sdl->renderer, runs, used);
    }
    fill.top = fill.height;
    fill.bottom = 0;
}

void Gather(Services& services, const SDL_Vertex* triangles, int count, uint32_t colour) {
    GatheredFill& fill = services.gathered;
    SDL_Rect viewport;
    SDL_RenderGetViewport(services.sdl->renderer, &viewport);
    if (colour != fill.colour || viewport.w != fill.width || viewport.h != fill.height) {
        FillGathered(services);  // one colour on one target at a time
        fill.colour = colour;
    }
    if (viewport.w != fill.width || viewport.h != fill.height) {
        fill.width = viewport.w;
        fill.height = viewport.h;
        fill.covered.assign(static_cast<size_t>(fill.width) * fill.height, 0);
        fill.top = fill.height;
        fill.bottom = 0;
    }
    fill.spans.clear();
    for (int i = 0; i < count; i += 3) {
        AppendTriangleSpans(GridCorner(triangles[i]), GridCorner(triangles[i + 1]),
                            GridCorner(triangles[i + 2]), fill.width, fill.height, fill.spans);
    }
    for (const Span& span : fill.spans) {
        uint8_t* const row = fill.covered.data() + static_cast<size_t>(span.y) * fill.width;
        std::fill(row + span.left, row + span.right, 1);
        fill.top = std::min(fill.top, span.y);
        fill.bottom = std::max(fill.bottom, span.y + 1);
    }
}

void ForgetSpriteTexture(Services& services, int32_t number) {
    auto found = services.sdl->spriteTextures.find(number);
    if (found == services.sdl->spriteTextures.end()) {
        return;
    }
    if (found->second != nullptr) {
        SDL_DestroyTexture(found->second);
    }
    services.sdl->spriteTextures.erase(found);
}

SDL_Color FillTint(uint32_t colour) {
    return {static_cast<Uint8>(RedOf(colour)), static_cast<Uint8>(GreenOf(colour)),
            static_cast<Uint8>(BlueOf(colour)), 255};
}

}  // namespace

SDL_Texture* SpriteTexture(Services& services, int32_t number) {
    Sprite* sprite = FindSprite(services, number);
    if (services.sdl->renderer == nullptr || sprite == nullptr || sprite->pixels.empty()) {
        return nullptr;
    }
    SDL_Texture*& texture = services.sdl->spriteTextures[number];
    if (texture == nullptr) {
        texture = SDL_CreateTexture(services.sdl->renderer, SDL_PIXELFORMAT_ARGB8888,
                                    SDL_TEXTUREACCESS_STATIC, sprite->width, sprite->height);
        sprite->changed = true;
    }
    if (texture != nullptr && sprite->changed) {
        SDL_UpdateTexture(texture, nullptr, sprite->pixels.data(), sprite->width * 4);
        sprite->changed = false;
    }
    return texture;
}

void ForgetTextures(Services& services) {
    SdlObjects& sdl = *services.sdl;
    for (TextLine& line : sdl.textLines) {
        if (line.texture != nullptr) {
            SDL_DestroyTexture(line.texture);
        }
        line = TextLine{};
    }
    for (auto& [number, sprite] : services.sprites) {
        ForgetSpriteTexture(services, number);
        sprite.changed = true;
    }
    if (sdl.screenImage != nullptr) {
        SDL_DestroyTexture(sdl.screenImage);
        sdl.screenImage = nullptr;
    }
}

void NewSprite(Services& services, int32_t number, int32_t width, int32_t height, int32_t mode) {
    // The record is reused in place, so drawing that is open on it stays valid.
    Sprite& sprite = services.sprites[number];
    ForgetSpriteTexture(services, number);
    sprite = Sprite{};
    if (width <= 0 || height <= 0 || width > kMaxSpriteSide || height > kMaxSpriteSide) {
        return;
    }
    sprite.width = width;
    sprite.height = height;
    sprite.mode = mode;
    sprite.pixels.assign(static_cast<size_t>(width) * height, 0);
}

void DeleteSprite(Services& services, int32_t number) {
    auto found = services.sprites.find(number);
    if (found == services.sprites.end() || &found->second == services.drawingSprite) {
        return;  // drawing that is open on it keeps its sprite
    }
    ForgetSpriteTexture(services, number);
    services.sprites.erase(found);
}

DrawingTarget SpriteTarget(int32_t number) {
    return {number};
}

void BlitSprite(Services& services, int32_t number, int32_t x, int32_t y) {
    Sprite* sprite = FindSprite(services, number);
    SDL_Texture* texture = SpriteTexture(services, number);
    if (texture == nullptr) {
        return;
    }
    // Opaque: black is copied as black here.
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_Rect to = {x, y, sprite->width, sprite->height};
    SDL_RenderCopy(services.sdl->renderer, texture, nullptr, &to);
}

uint32_t SpritePixel(const Services& services, int32_t number, int32_t x, int32_t y) {
    auto found = services.sprites.find(number);
    if (found == services.sprites.end()) {
        return 0;
    }
    const Sprite& sprite = found->second;
    if (x < 0 || y < 0 || x >= sprite.width || y >= sprite.height) {
        return 0;
    }
    return ColourOfStored(sprite.pixels[static_cast<size_t>(y) * sprite.width + x]);
}

bool NewTexturedQuad(Services& services, int32_t quad, int32_t sprite) {
    const Sprite* image = FindSprite(services, sprite);
    if (image == nullptr || image->mode != kTextureMode) {
        return false;
    }
    services.quads[quad] = TexturedQuad{sprite, {}, false, 0};
    return true;
}

void NewFilledQuad(Services& services, int32_t quad, uint32_t colour) {
    services.quads[quad] = TexturedQuad{0, {}, true, colour};
}

void BeginQuads(Services& services) {
    services.drawingQuads = true;
}

void EndQuads(Services& services) {
    FillGathered(services);
    services.drawingQuads = false;
}

void SetQuadCorners(Services& services, int32_t quad, float x1, float y1, float x2, float y2,
                    float x3, float y3, float x4, float y4) {
    auto found = services.quads.find(quad);
    if (found == services.quads.end()) {
        return;
    }
    const float corners[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
    std::copy(corners, corners + 8, found->second.corners);
}

void DrawQuad(Services& services, int32_t quad, float x, float y) {
    auto found = services.quads.find(quad);
    if (!services.drawingQuads || found == services.quads.end()) {
        return;
    }
    SDL_Texture* texture = nullptr;
    SDL_Color tint = {255, 255, 255, 255};
    if (found->second.filled) {
        tint = FillTint(found->second.fillColour);
    } else {
        Sprite* image = FindSprite(services, found->second.sprite);
        texture = SpriteTexture(services, found->second.sprite);
        if (texture == nullptr) {
            return;
        }
        // A one-pixel sprite (the shadows' fill) gives every point of the quad
        // one colour: opaque, it is the same as a plain fill, which the
        // software renderer draws many times faster; transparent, nothing shows.
        if (image->width == 1 && image->height == 1) {
            if (image->pixels[0] == 0) {
                return;
            }
            tint = FillTint(ColourOfStored(image->pixels[0]));
            texture = nullptr;
        }
    }
    const float* c = found->second.corners;
    SDL_Vertex corner[4];
    for (int i = 0; i < 4; ++i) {
        corner[i] = {{c[2 * i] + x, c[2 * i + 1] + y}, tint, {kCornerU[i], kCornerV[i]}};
    }
    SDL_Vertex triangles[6];
    int count = 0;
    AddIfFrontFacing(triangles, count, corner[0], corner[1], corner[2]);
    // When corners 3 and 4 coincide the quad is the triangle of corners 1 to 3.
    if (c[4] != c[6] || c[5] != c[7]) {
        AddIfFrontFacing(triangles, count, corner[0], corner[2], corner[3]);
    }
    if (count == 0) {
        return;
    }
    if (texture == nullptr && CanGather(services, triangles, count)) {
        Gather(services, triangles, count, MakeColour(tint.r, tint.g, tint.b));
        return;
    }
    FillGathered(services);  // what was gathered lies under this quad
    if (texture != nullptr) {
        SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    } else {
        SDL_SetRenderDrawBlendMode(services.sdl->renderer, SDL_BLENDMODE_NONE);
    }
    SDL_RenderGeometry(services.sdl->renderer, texture, triangles, count, nullptr, 0);
}

bool SpriteHasTexture(const Services& services, int32_t number) {
    auto found = services.sdl->spriteTextures.find(number);
    return found != services.sdl->spriteTextures.end() && found->second != nullptr;
}

void DrawScreenImage(Services& services, const std::vector<uint32_t>& image) {
    SdlObjects& sdl = *services.sdl;
    const int32_t w = services.screenWidth;
    const int32_t h = services.screenHeight;
    if (sdl.renderer == nullptr || image.size() != static_cast<size_t>(w) * h) {
        return;
    }
    if (sdl.screenImage == nullptr) {
        sdl.screenImage = SDL_CreateTexture(sdl.renderer, SDL_PIXELFORMAT_RGB888,
                                            SDL_TEXTUREACCESS_STREAMING, w, h);
    }
    if (sdl.screenImage == nullptr ||
        SDL_UpdateTexture(sdl.screenImage, nullptr, image.data(), w * 4) != 0) {
        return;
    }
    SDL_SetTextureBlendMode(sdl.screenImage, SDL_BLENDMODE_NONE);
    SDL_RenderCopy(sdl.renderer, sdl.screenImage, nullptr, nullptr);
}
