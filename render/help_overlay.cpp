#include "render/help_overlay.h"

#include <iterator>

#include "session/key_help.h"

namespace {

constexpr uint32_t kPanelColour = MakeColour(32, 32, 48);
constexpr uint32_t kKeyColour = MakeColour(255, 255, 0);
constexpr uint32_t kTextColour = MakeColour(255, 255, 255);
constexpr int32_t kLineHeight = 18;
constexpr int32_t kPanelWidth = 440;

}  // namespace

void DrawHelpOverlay(Services& services) {
    const int32_t lines = static_cast<int32_t>(std::size(kKeyHelp)) + 2;
    const int32_t height = lines * kLineHeight + 16;
    const int32_t left = (services.screenWidth - kPanelWidth) / 2;
    const int32_t top = (services.screenHeight - height) / 2;
    const int32_t mode = services.drawingMode;
    SetDrawingMode(services, mode & ~kOutlineRects);
    DrawRect(services, left, top, kPanelWidth, height, kPanelColour);
    SetDrawingMode(services, mode | kOutlineRects);
    DrawRect(services, left, top, kPanelWidth, height, kTextColour);
    SetDrawingMode(services, mode);

    int32_t y = top + 8;
    DrawString(services, left + 16, y, "tumble: keys", kTextColour, kPanelColour);
    y += 2 * kLineHeight;
    for (const KeyHelp& help : kKeyHelp) {
        DrawString(services, left + 16, y, help.key, kKeyColour, kPanelColour);
        DrawString(services, left + 136, y, help.action, kTextColour, kPanelColour);
        y += kLineHeight;
    }
}
