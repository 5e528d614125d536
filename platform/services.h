#pragma once

// The display, drawing and input services the program runs on: a window with
// a 640 × 480 screen, numbered sprites that double as textures, textured
// quads, 2D drawing onto the screen or a sprite, keyboard and mouse
// snapshots and a millisecond clock. Built on SDL2 and SDL2_ttf; the rest of
// the program sees only this header.
//
// Every operation takes the Services record it works on. An operation that
// cannot do its work does nothing: a missing sprite is not drawn, drawing
// outside BeginDrawing … EndDrawing is dropped, and so on.

#include <chrono>
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/input_source.h"
#include "platform/key_codes.h"
#include "platform/triangle_spans.h"

// The window, the renderer, the font and every texture: known only inside
// platform/ (platform/services_internal.h).
struct SdlObjects;

// A colour is red + green × 256 + blue × 65536. Black is the transparent
// colour of sprites used as textures.
constexpr uint32_t MakeColour(int32_t red, int32_t green, int32_t blue) {
    return static_cast<uint32_t>(red & 0xFF) + static_cast<uint32_t>(green & 0xFF) * 256u +
           static_cast<uint32_t>(blue & 0xFF) * 65536u;
}
constexpr int32_t RedOf(uint32_t colour) {
    return colour & 0xFF;
}
constexpr int32_t GreenOf(uint32_t colour) {
    return (colour >> 8) & 0xFF;
}
constexpr int32_t BlueOf(uint32_t colour) {
    return (colour >> 16) & 0xFF;
}

// The only sprite mode: usable as a texture for textured quads.
constexpr int32_t kTextureMode = 4;

// Drawing mode flags.
constexpr int32_t kTransparentText = 1;  // DrawString paints no background
constexpr int32_t kOutlineRects = 4;     // DrawRect draws only the outline

// Desktop: a visible window on a real display, the system pointer captured,
// the loop paced to the display. Offscreen: SDL's dummy video driver with the
// software renderer, for tests; deterministic pixels, no pacing.
enum class ScreenKind { Desktop, Offscreen };

// The pixels are kept in memory (black with alpha 0, every other colour
// opaque) and uploaded into the sprite's texture when they have changed.
struct Sprite {
    int32_t width = 0;
    int32_t height = 0;
    int32_t mode = 0;
    std::vector<uint32_t> pixels;  // ARGB, row by row
    bool changed = true;
};

// A quad shows its sprite, or, made by NewFilledQuad, one opaque colour
// (black included).
struct TexturedQuad {
    int32_t sprite = 0;
    float corners[8] = {};  // x1, y1 … x4, y4
    bool filled = false;
    uint32_t fillColour = 0;
};

// Plain-fill quads of one colour waiting to be filled: the pixels they cover
// on a width × height target, 1 for covered, in rows top … bottom − 1 (none
// when bottom is not past top). Every other pixel is 0.
struct GatheredFill {
    uint32_t colour = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t top = 0;
    int32_t bottom = 0;
    std::vector<uint8_t> covered;
    std::vector<Span> spans;  // one quad's, kept for its storage
};

// Where 2D drawing goes: the back buffer, or a sprite by number.
struct DrawingTarget {
    int32_t sprite;
};
constexpr int32_t kBackBuffer = -1;

// A test seam: what the display refuses to make, as a display short of it
// would. Set before StartServices.
struct Refusals {
    bool window = false;  // OpenMainWindow fails
    bool screen = false;  // OpenScreenInWindow finds no renderer
    bool font = false;    // the text font does not load
};

struct Services {
    Services();
    ~Services();
    Services(Services&&) noexcept;
    Services& operator=(Services&&) noexcept;

    ScreenKind kind = ScreenKind::Offscreen;
    Refusals refuse;
    InputSource* input = nullptr;
    bool sdlStarted = false;
    bool ttfStarted = false;
    std::unique_ptr<SdlObjects> sdl;  // never null
    int32_t screenWidth = 0;
    int32_t screenHeight = 0;

    std::map<int32_t, Sprite> sprites;
    std::map<int32_t, TexturedQuad> quads;
    bool drawingQuads = false;
    // On SDL's software renderer plain-fill quads are gathered here and
    // filled at EndQuads, row by row (platform/sprites.cpp). Tests turn
    // softwareRenderer off to have the same renderer draw triangle by
    // triangle, as every other renderer does.
    bool softwareRenderer = false;
    GatheredFill gathered;

    bool drawing = false;
    Sprite* drawingSprite = nullptr;  // null while drawing onto the back buffer
    int32_t drawingMode = 0;
    uint32_t defaultColour = 0;

    KeyStates keys{};
    KeyStates releaseFlags{};
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    bool leftButton = false;  // as the last mouse poll saw it
    bool rightButton = false;

    // Pacing where the present does not wait for the display.
    bool paceFrames = false;
    std::chrono::steady_clock::duration framePeriod{};
    std::chrono::steady_clock::time_point nextFrame{};
    int64_t framesPresented = 0;
};

// Start and stop. StartServices starts SDL and the text service; on the
// desktop it fails when no real display can be reached (unless a video
// driver was asked for with SDL_VIDEODRIVER). The window and the screen are
// opened next; StartDevices then captures the mouse. StopServices releases
// everything and may be called on services that started only in part.
bool StartServices(Services& services, ScreenKind kind, InputSource& input, std::string& error);
bool OpenMainWindow(Services& services, const char* title, int32_t width, int32_t height,
                    std::string& error);
bool OpenScreenInWindow(Services& services, int32_t width, int32_t height, std::string& error);
void StartDevices(Services& services);
void StopServices(Services& services);

// The services as tumble-sim, the benchmarks and the tests draw with them:
// started offscreen with a width × height screen in a hidden window titled
// "tumble". False, with the reason in `error`, when any of it fails.
bool StartOffscreenServices(Services& services, InputSource& input, int32_t width,
                            int32_t height, std::string& error);

// What the display holds now, for tests: the font, a sprite's texture (made
// when the sprite is first drawn), the text lines kept as textures.
bool FontLoaded(const Services& services);
bool SpriteHasTexture(const Services& services, int32_t number);
int32_t CachedTextLineCount(const Services& services);

// Window events: kNoEvent, kCloseRequest or kOtherEvent; never waits.
int32_t PollWindowEvent(Services& services);

// The screen.
void ClearBackBuffer(Services& services, uint32_t colour);
// Shows the back buffer; where the present does not wait for the display's
// refresh, waits for the next frame's deadline instead.
void PresentFrame(Services& services);
DrawingTarget BackBufferTarget();
// The back buffer's pixels as colours, row by row (screenWidth × screenHeight).
std::vector<uint32_t> ReadBackBuffer(Services& services);

// Sprites and textured quads.
void NewSprite(Services& services, int32_t number, int32_t width, int32_t height, int32_t mode);
// The sprite and its texture are gone; nothing happens for a missing one.
void DeleteSprite(Services& services, int32_t number);
DrawingTarget SpriteTarget(int32_t number);
void BlitSprite(Services& services, int32_t number, int32_t x, int32_t y);
// The colour of one sprite pixel; 0 for a missing sprite or pixel.
uint32_t SpritePixel(const Services& services, int32_t number, int32_t x, int32_t y);
bool NewTexturedQuad(Services& services, int32_t quad, int32_t sprite);
void NewFilledQuad(Services& services, int32_t quad, uint32_t colour);
// Quads are drawn between BeginQuads and EndQuads, and nothing else is: a
// plain-fill quad may be filled only at EndQuads (or when a quad of another
// kind follows it), so a sprite copied in between could end up beneath it.
void BeginQuads(Services& services);
void EndQuads(Services& services);
void SetQuadCorners(Services& services, int32_t quad, float x1, float y1, float x2, float y2,
                    float x3, float y3, float x4, float y4);
void DrawQuad(Services& services, int32_t quad, float x, float y);

// Copies a screen-sized image (screenWidth × screenHeight colours as
// 0xRRGGBB, not MakeColour's order, row by row) opaque onto the back buffer,
// through one texture kept for it and refreshed on every call.
void DrawScreenImage(Services& services, const std::vector<uint32_t>& image);

// 2D drawing onto the back buffer or a sprite.
void BeginDrawing(Services& services, DrawingTarget target);
void EndDrawing(Services& services);
void SetDrawingMode(Services& services, int32_t flags);
void SetDefaultColour(Services& services, uint32_t colour);
void PutPixel(Services& services, int32_t x, int32_t y, uint32_t colour);
void DrawLine(Services& services, int32_t x1, int32_t y1, int32_t x2, int32_t y2);
void DrawLine(Services& services, int32_t x1, int32_t y1, int32_t x2, int32_t y2, uint32_t colour);
void DrawRect(Services& services, int32_t x, int32_t y, int32_t width, int32_t height,
              uint32_t colour);
void DrawString(Services& services, int32_t x, int32_t y, const std::string& text,
                uint32_t textColour, uint32_t backColour);

// Keyboard and mouse snapshots, and the clock.
void PollKeyboard(Services& services);
int32_t IsKeyDown(const Services& services, int32_t key);
int32_t WasKeyReleased(Services& services, int32_t key);
void PollMouse(Services& services);
bool IsLeftButtonDown(const Services& services);
bool IsRightButtonDown(const Services& services);
int32_t GetMouseX(const Services& services);
int32_t GetMouseY(const Services& services);
// Puts the pointer at (x, y), as a replay does that moves it for the user;
// the next poll's motion starts from there.
void PlaceMouse(Services& services, int32_t x, int32_t y);
uint32_t TickCount(Services& services);
