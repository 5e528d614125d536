// Layers: screen-sized render targets that a frame draws into and then adds
// onto the back buffer, one per light in turn.

#include <SDL.h>

#include "platform/services.h"
#include "platform/services_internal.h"

namespace {

SDL_Texture* FindLayer(Services& services, int32_t layer) {
    auto found = services.sdl->layers.find(layer);
    return found == services.sdl->layers.end() ? nullptr : found->second;
}

SDL_Texture* MakeLayer(Services& services, int32_t layer) {
    SDL_Texture* texture =
        SDL_CreateTexture(services.sdl->renderer, SDL_PIXELFORMAT_ARGB8888,
                          SDL_TEXTUREACCESS_TARGET, services.screenWidth, services.screenHeight);
    if (texture != nullptr) {
        services.sdl->layers[layer] = texture;
    }
    return texture;
}

}  // namespace

bool BeginLayer(Services& services, int32_t layer) {
    if (services.sdl->renderer == nullptr || services.inLayer) {
        return false;
    }
    SDL_Texture* texture = FindLayer(services, layer);
    if (texture == nullptr) {
        texture = MakeLayer(services, layer);
    }
    if (texture == nullptr || SDL_SetRenderTarget(services.sdl->renderer, texture) != 0) {
        return false;
    }
    services.inLayer = true;
    SetRenderColour(services.sdl->renderer, 0);
    SDL_RenderClear(services.sdl->renderer);
    return true;
}

void EndLayer(Services& services) {
    if (!services.inLayer) {
        return;
    }
    SDL_SetRenderTarget(services.sdl->renderer, nullptr);
    services.inLayer = false;
}

void AddLayer(Services& services, int32_t layer, int32_t weight) {
    SDL_Texture* texture = FindLayer(services, layer);
    if (texture == nullptr || services.inLayer) {
        return;
    }
    const Uint8 scale = static_cast<Uint8>(weight < 0 ? 0 : weight > 255 ? 255 : weight);
    SDL_SetTextureColorMod(texture, scale, scale, scale);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_ADD);
    SDL_RenderCopy(services.sdl->renderer, texture, nullptr, nullptr);
}

void FreeLayer(Services& services, int32_t layer) {
    auto found = services.sdl->layers.find(layer);
    if (found == services.sdl->layers.end() || services.inLayer) {
        return;  // an open layer is freed after EndLayer
    }
    SDL_DestroyTexture(found->second);
    services.sdl->layers.erase(found);
}

int32_t LayerCount(const Services& services) {
    return static_cast<int32_t>(services.sdl->layers.size());
}
