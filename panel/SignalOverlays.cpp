#include "panel/SignalOverlays.h"

#include <vector>

namespace procesor {

std::span<const int> modeResetOverlays() {
    static const std::vector<int> all = [] {
        std::vector<int> v;
        for (const DataSwitch& s : kDataSwitches) v.insert(v.end(), {s.runWire, s.dropWire});
        v.insert(v.end(), kPhi1Images.begin(), kPhi1Images.end());
        v.insert(v.end(), kPhi2Images.begin(), kPhi2Images.end());
        for (const SignalLine& line : kSignalLines)
            for (int image : line.images)
                if (image != 0) v.push_back(image);
        for (const auto* group : {&kMicroaddressLines, &kAddressLines, &kRegAPaths, &kRegBPaths})
            v.insert(v.end(), group->begin(), group->end());
        for (const auto& bit : kBusImages) v.insert(v.end(), bit.begin(), bit.end());
        return v;
    }();
    return all;
}

} // namespace procesor
