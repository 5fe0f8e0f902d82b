#include "picture/Scaling.h"

#include <algorithm>
#include <cstdint>

namespace procesor::render {

Fit fitPicture(int roomWidth, int roomHeight, int pictureWidth, int pictureHeight) {
    Fit f{pictureWidth, pictureHeight, 0, 0, 0};
    roomWidth = std::max(roomWidth, 1);
    roomHeight = std::max(roomHeight, 1);
    const std::int64_t w = pictureWidth, h = pictureHeight;
    // The largest size in proportion: the narrower of the two ratios decides.
    if (std::int64_t(roomWidth) * h <= std::int64_t(roomHeight) * w) {
        f.width = roomWidth;
        f.height = int(std::int64_t(roomWidth) * h / w);
    } else {
        f.height = roomHeight;
        f.width = int(std::int64_t(roomHeight) * w / h);
    }
    f.width = std::max(f.width, 1);
    f.height = std::max(f.height, 1);
    // A whole factor that fits and comes within a tenth of that size.
    const int whole = std::min(roomWidth / pictureWidth, roomHeight / pictureHeight);
    if (whole >= 1 && std::int64_t(whole) * w * 10 >= std::int64_t(f.width) * 9) {
        f.factor = whole;
        f.width = pictureWidth * whole;
        f.height = pictureHeight * whole;
    }
    return f;
}

Fit actualSize(int pictureWidth, int pictureHeight) {
    return Fit{pictureWidth, pictureHeight, pictureWidth, pictureHeight, 1};
}

PicturePoint pictureAt(const Fit& fit, int deviceX, int deviceY) {
    if (deviceX < 0 || deviceY < 0 || deviceX >= fit.width || deviceY >= fit.height) return {};
    // The centre of the device pixel, x + 1/2, in picture pixels.
    const auto at = [](int device, int shown, int own) {
        return int((2 * std::int64_t(device) + 1) * own / (2 * std::int64_t(shown)));
    };
    return {at(deviceX, fit.width, fit.pictureWidth), at(deviceY, fit.height, fit.pictureHeight)};
}

} // namespace procesor::render
