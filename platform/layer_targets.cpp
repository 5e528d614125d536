// Layers: screen-sized render targets that a frame draws into and then adds
// onto the back buffer, one per light in turn.

#include <SDL.h>

#include "platform/services.h"
#include "platform/services_internal.h"

namespace {

SDL_Texture* FindLayer(Services& services, int32_t layer) {
    auto found = services.layers.find(layer);
    return found == services.layers.end() ? nullptr : found->second;
}

SDL_Texture* MakeLayer(Services& services, int32_t layer) {
    SDL_Texture* texture =
        SDL_CreateTexture(services.renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                          services.screenWidth, services.screenHeight);
    if (texture != nullptr) {
        services.layers[layer] = texture;
    }
    return texture;
}

}  // namespace

bool BeginLayer(Services& services, int32_t layer) {
    if (services.renderer == nullptr || services.inLayer) {
        return false;
    }
    SDL_Texture* texture = FindLayer(services, layer);
    if (texture == nullptr) {
        texture = MakeLayer(services, layer);
    }
    if (texture == nullptr || SDL_SetRenderTarget(services.renderer, texture) != 0) {
        return false;
    }
    services.inLayer = true;
    SetRenderColour(services.renderer, 0);
    SDL_RenderClear(services.renderer);
    return true;
}

void EndLayer(Services& services) {
    if (!services.inLayer) {
        return;
    }
    SDL_SetRenderTarget(services.renderer, nullptr);
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
    SDL_RenderCopy(services.renderer, texture, nullptr, nullptr);
}

void FreeLayer(Services& services, int32_t layer) {
    auto found = services.layers.find(layer);
    if (found == services.layers.end() || services.inLayer) {
        return;  // an open layer is freed after EndLayer
    }
    SDL_DestroyTexture(found->second);
    services.layers.erase(found);
}
