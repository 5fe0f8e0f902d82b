#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/support/frames/Png.h"

// Holding pictures to reference frames, for every test that has them.
namespace procesor::testing {

// How `actual` differs from `expected` grown by a whole `scale` (each pixel a
// scale x scale block): empty when every pixel agrees, else the count and the first
// few differing pixels; `diff` then shows them red on a faded copy of `actual`.
std::string differences(const Image& expected, const Image& actual, Image& diff, int scale = 1);

// The frames NAME.png of one directory. A check compares a picture with NAME.png;
// on a mismatch it writes the picture as STEM-actual.png and the differences as
// STEM-diff.png into the output directory. In a rebaseline (made on purpose after a
// change to the picture) it writes NAME.png instead, only where it is missing or
// differs, and names each frame it writes on the standard output.
class FrameCheck {
public:
    FrameCheck(std::string references, std::string output, bool rebaseline = false)
        : references_(std::move(references)), output_(std::move(output)), rebaseline_(rebaseline) {}

    // Empty when the picture equals the frame (or the frame was written anew), else
    // what differs.
    std::string check(const std::string& name, const Image& actual, const std::string& stem,
                      int scale = 1);

    bool rebaseline() const { return rebaseline_; }
    int checked() const { return checked_; }
    int differing() const { return differing_; } // also those written anew
    int written() const { return written_; }
    // The frames of the directory that no check has named: frames no step reaches.
    std::vector<std::string> unreached() const;
    // "N of M frames differ", or in a rebaseline "N of M frames written anew into DIR".
    std::string summary() const;

private:
    std::string references_;
    std::string output_;
    bool rebaseline_;
    int checked_ = 0;
    int differing_ = 0;
    int written_ = 0;
    std::set<std::string> named_;
};

} // namespace procesor::testing
