#include "tests/support/frames/Frames.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

namespace procesor::testing {

std::string differences(const Image& expected, const Image& actual, Image& diff, int scale) {
    if (scale < 1 || actual.width != expected.width * scale ||
        actual.height != expected.height * scale)
        return "size " + std::to_string(actual.width) + "x" + std::to_string(actual.height) +
               ", expected " + std::to_string(expected.width * scale) + "x" +
               std::to_string(expected.height * scale);
    diff = actual;
    int count = 0;
    std::string first;
    for (int y = 0; y < actual.height; ++y)
        for (int x = 0; x < actual.width; ++x) {
            const std::size_t i = std::size_t(y) * actual.width + x;
            const std::uint32_t want =
                expected.pixels[std::size_t(y / scale) * expected.width + x / scale] | 0xFF000000u;
            const std::uint32_t got = actual.pixels[i] | 0xFF000000u;
            if (want == got) {
                const std::uint32_t grey = 0xC0 + ((got >> 8 & 0xFF) >> 2);
                diff.pixels[i] = 0xFF000000u | grey << 16 | grey << 8 | grey;
                continue;
            }
            diff.pixels[i] = 0xFFFF0000u;
            if (count++ < 5) {
                char text[96];
                std::snprintf(text, sizeof text, " %d,%d is #%06X, expected #%06X;", x, y,
                              got & 0xFFFFFFu, want & 0xFFFFFFu);
                first += text;
            }
        }
    if (count == 0) return {};
    return std::to_string(count) + " pixels differ, first:" + first;
}

std::string FrameCheck::check(const std::string& name, const Image& actual, const std::string& stem,
                              int scale) {
    ++checked_;
    named_.insert(name);
    const std::string reference = references_ + "/" + name + ".png";
    const auto expected = readPng(reference);
    Image diff;
    std::string why = expected ? differences(*expected, actual, diff, scale)
                               : "no readable reference " + reference;
    if (why.empty()) return {};
    ++differing_;
    if (rebaseline_ && scale == 1) {
        if (!writePng(reference, actual)) return "cannot write " + reference;
        ++written_;
        std::printf("wrote %s (%s)\n", reference.c_str(), why.c_str());
        return {};
    }
    const std::string file = output_ + "/" + stem;
    if (!writePng(file + "-actual.png", actual)) why += "; cannot write " + file + "-actual.png";
    if (!diff.pixels.empty()) writePng(file + "-diff.png", diff);
    return why;
}

std::vector<std::string> FrameCheck::unreached() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(references_, error))
        if (entry.path().extension() == ".png" && !named_.count(entry.path().stem().string()))
            names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string FrameCheck::summary() const {
    return rebaseline_
               ? std::to_string(written_) + " of " + std::to_string(checked_) +
                     " frames written anew into " + references_
               : std::to_string(differing_) + " of " + std::to_string(checked_) + " frames differ";
}

} // namespace procesor::testing
