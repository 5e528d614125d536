#include "render/help_overlay.h"

namespace {

constexpr uint32_t kPanelColour = MakeColour(32, 32, 48);
constexpr uint32_t kKeyColour = MakeColour(255, 255, 0);
constexpr uint32_t kTextColour = MakeColour(255, 255, 255);
constexpr int32_t kLineHeight = 18;
constexpr int32_t kPanelWidth = 440;

}  // namespace

void DrawHelpOverlay(std::span<const HelpLine> lines, Services& services) {
    const int32_t height = (static_cast<int32_t>(lines.size()) + 2) * kLineHeight + 16;
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
    for (const HelpLine& line : lines) {
        DrawString(services, left + 16, y, line.key, kKeyColour, kPanelColour);
        DrawString(services, left + 136, y, line.action, kTextColour, kPanelColour);
        y += kLineHeight;
    }
}
