#include "shell/screenshot.h"

#include <filesystem>
#include <system_error>

#include "platform/png_file.h"

std::string FreeScreenshotPath(const std::string& folder, const std::tm& local) {
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "tumble-%Y%m%d-%H%M%S", &local);
    const std::filesystem::path base = std::filesystem::path(folder) / stamp;
    std::string path = base.string() + ".png";
    std::error_code error;
    for (int32_t n = 2; std::filesystem::exists(path, error) && n < 100000; ++n) {
        path = base.string() + "-" + std::to_string(n) + ".png";
    }
    return path;
}

bool SaveScreenshot(const std::vector<uint32_t>& pixels, int32_t width, int32_t height,
                    const std::string& folder, std::string& path, std::string& error) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    path = FreeScreenshotPath(folder, local);
    return WritePng(pixels, width, height, path, error);
}
