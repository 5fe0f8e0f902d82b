#include "tests/support/frames/SceneWalk.h"

#include <algorithm>

namespace procesor::testing {

std::optional<explain::Opening> openingOf(const std::vector<Step>& steps) {
    if (steps.empty() || steps.front().kind != Step::Open) return std::nullopt;
    const Step& s = steps.front();
    return explain::Opening{s.word == "Image" ? ElementKind::Image : ElementKind::Label, s.number};
}

explain::Key keyOf(const Step& step) {
    using explain::Key;
    static const std::pair<const char*, Key> kKeys[] = {
        {"tab", Key::Tab},     {"backtab", Key::BackTab}, {"space", Key::Space},
        {"enter", Key::Enter}, {"left", Key::Left},       {"right", Key::Right},
        {"up", Key::Up},       {"down", Key::Down},
    };
    for (const auto& [name, key] : kKeys)
        if (step.word == name) return key;
    return Key::Tab;
}

void walk(explain::Scene& scene, const std::vector<Step>& steps,
          const std::function<void(const Step&, const render::Canvas&)>& atFrame,
          const std::function<void(const Step&, const std::string&)>& fault) {
    if (const std::string wrong = onlyKinds(steps, kSceneSteps); !wrong.empty()) {
        fault(steps.front(), wrong);
        return;
    }
    scene.render();
    for (const Step& s : steps) {
        const std::vector<std::uint32_t> before = scene.canvas().pixels;
        switch (s.kind) {
        case Step::Click:
            scene.mouseDown(s.x, s.y);
            scene.mouseUp(s.x, s.y);
            break;
        case Step::Down:
            scene.mouseDown(s.x, s.y);
            break;
        case Step::Move:
            scene.mouseMove(s.x, s.y);
            break;
        case Step::Up:
            scene.mouseUp(s.x, s.y);
            break;
        case Step::Key:
            scene.key(keyOf(s));
            break;
        case Step::Frame:
            atFrame(s, scene.canvas());
            continue;
        default: // the opening, taken when the scene was made
            continue;
        }
        const std::vector<render::Box> changed = scene.render();
        const render::Canvas& c = scene.canvas();
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::size_t i = std::size_t(y) * c.width + x;
                if (before[i] == c.pixels[i]) continue;
                if (std::none_of(changed.begin(), changed.end(),
                                 [&](const render::Box& b) { return b.contains(x, y); })) {
                    fault(s, "pixel " + std::to_string(x) + "," + std::to_string(y) +
                                 " changed outside the changed rectangles");
                    y = c.height;
                    break;
                }
            }
    }
}

} // namespace procesor::testing
