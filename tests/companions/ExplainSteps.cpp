#include "tests/companions/ExplainSteps.h"

#include <fstream>
#include <sstream>

namespace procesor::testing {

namespace {

std::optional<explain::Key> keyNamed(const std::string& word) {
    using explain::Key;
    static const std::pair<const char*, Key> kKeys[] = {
        {"tab", Key::Tab},     {"backtab", Key::BackTab}, {"space", Key::Space},
        {"enter", Key::Enter}, {"left", Key::Left},       {"right", Key::Right},
        {"up", Key::Up},       {"down", Key::Down},
    };
    for (const auto& [name, key] : kKeys)
        if (word == name) return key;
    return std::nullopt;
}

} // namespace

ExplainScript readExplainScript(const std::string& path, std::string& error) {
    ExplainScript script;
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot be read";
        return {};
    }
    std::string text;
    int number = 0;
    while (std::getline(in, text)) {
        ++number;
        std::istringstream words(text);
        std::string verb;
        if (!(words >> verb) || verb[0] == '#') continue;
        ExplainStep s;
        s.line = number;
        bool ok = true;
        if (verb == "open") {
            std::string kind;
            int n = 0;
            ok = script.steps.empty() && !script.opening && (words >> kind >> n) &&
                 (kind == "Image" || kind == "Label");
            if (ok)
                script.opening =
                    explain::Opening{kind == "Image" ? ElementKind::Image : ElementKind::Label, n};
            std::string rest;
            if (ok && !(words >> rest)) continue;
            ok = false;
        } else if (verb == "click" || verb == "down" || verb == "move" || verb == "up") {
            s.kind = verb == "click"  ? ExplainStep::Click
                     : verb == "down" ? ExplainStep::Down
                     : verb == "move" ? ExplainStep::Move
                                      : ExplainStep::Up;
            ok = static_cast<bool>(words >> s.x >> s.y);
        } else if (verb == "key") {
            s.kind = ExplainStep::Key;
            ok = static_cast<bool>(words >> s.name);
            const auto key = ok ? keyNamed(s.name) : std::nullopt;
            ok = key.has_value();
            if (ok) s.key = *key;
        } else if (verb == "frame") {
            s.kind = ExplainStep::Frame;
            ok = static_cast<bool>(words >> s.name);
        } else {
            ok = false;
        }
        std::string rest;
        if (!ok || words >> rest) {
            error = path + ":" + std::to_string(number) + ": not understood: " + text;
            return {};
        }
        script.steps.push_back(s);
    }
    if (script.steps.empty()) error = path + ": no steps";
    return script;
}

void walk(explain::Scene& scene, const std::vector<ExplainStep>& steps,
          const std::function<void(const ExplainStep&, const render::Canvas&)>& atFrame,
          const std::function<void(const ExplainStep&, const std::string&)>& fault) {
    scene.render();
    for (const ExplainStep& s : steps) {
        const std::vector<std::uint32_t> before = scene.canvas().pixels;
        switch (s.kind) {
        case ExplainStep::Click:
            scene.mouseDown(s.x, s.y);
            scene.mouseUp(s.x, s.y);
            break;
        case ExplainStep::Down:
            scene.mouseDown(s.x, s.y);
            break;
        case ExplainStep::Move:
            scene.mouseMove(s.x, s.y);
            break;
        case ExplainStep::Up:
            scene.mouseUp(s.x, s.y);
            break;
        case ExplainStep::Key:
            scene.key(s.key);
            break;
        case ExplainStep::Frame:
            atFrame(s, scene.canvas());
            continue;
        }
        const std::vector<render::Box> changed = scene.render();
        const render::Canvas& c = scene.canvas();
        for (int y = 0; y < c.height; ++y)
            for (int x = 0; x < c.width; ++x) {
                const std::size_t i = std::size_t(y) * c.width + x;
                if (before[i] == c.pixels[i]) continue;
                bool covered = false;
                for (const render::Box& b : changed) covered = covered || b.contains(x, y);
                if (!covered) {
                    fault(s, "pixel " + std::to_string(x) + "," + std::to_string(y) +
                                 " changed outside the changed rectangles");
                    y = c.height;
                    break;
                }
            }
    }
}

} // namespace procesor::testing
