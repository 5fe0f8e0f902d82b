#include "tests/support/frames/Steps.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <sstream>

namespace procesor::testing {

namespace {

struct Verb {
    const char* word;
    Step::Kind kind;
};
constexpr Verb kVerbs[] = {
    {"open", Step::Open}, {"click", Step::Click}, {"down", Step::Down},
    {"move", Step::Move}, {"up", Step::Up},       {"key", Step::Key},
    {"tick", Step::Tick}, {"frame", Step::Frame}, {"program", Step::Program},
};
constexpr const char* kKeys[] = {"tab", "backtab", "space", "enter", "left", "right", "up", "down"};

const char* verbOf(Step::Kind kind) {
    for (const Verb& v : kVerbs)
        if (v.kind == kind) return v.word;
    return "?";
}

bool fileName(const std::string& name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char ch) {
        return std::isalnum(static_cast<unsigned char>(ch)) || ch == '-';
    });
}

// Reads the arguments of one step; false when they are not the verb's.
bool readArguments(std::istringstream& in, Step& s, const std::vector<Step>& before) {
    const auto any = [&](Step::Kind kind, const std::string& word = {}) {
        return std::any_of(before.begin(), before.end(), [&](const Step& o) {
            return o.kind == kind && (word.empty() || o.word == word);
        });
    };
    switch (s.kind) {
    case Step::Open:
        return before.empty() && in >> s.word >> s.number &&
               (s.word == "Image" || s.word == "Label") && s.number >= 0;
    case Step::Click:
    case Step::Down:
    case Step::Move:
    case Step::Up:
        return bool(in >> s.x >> s.y);
    case Step::Key:
        return in >> s.word &&
               std::find(std::begin(kKeys), std::end(kKeys), s.word) != std::end(kKeys);
    case Step::Tick:
        return in >> s.number && s.number >= 1 && s.number <= 5;
    case Step::Frame:
        return in >> s.word && fileName(s.word) && !any(Step::Frame, s.word);
    case Step::Program: {
        std::string word;
        while (in >> word) s.word += (s.word.empty() ? "" : " ") + word;
        return !s.word.empty() && !any(Step::Program);
    }
    }
    return false;
}

} // namespace

std::vector<Step> readSteps(const std::string& path, std::string& error) {
    std::ifstream file(path);
    if (!file) {
        error = path + ": cannot be read";
        return {};
    }
    std::vector<Step> steps;
    std::string text;
    for (int line = 1; std::getline(file, text); ++line) {
        std::istringstream in(text);
        std::string word;
        if (!(in >> word) || word[0] == '#') continue;
        Step s;
        s.line = line;
        const auto verb = std::find_if(std::begin(kVerbs), std::end(kVerbs),
                                       [&](const Verb& v) { return word == v.word; });
        bool ok = verb != std::end(kVerbs);
        if (ok) {
            s.kind = verb->kind;
            ok = readArguments(in, s, steps);
        }
        if (!ok || in >> word) {
            error = path + ":" + std::to_string(line) + ": not understood: " + text;
            return {};
        }
        steps.push_back(s);
    }
    if (steps.empty()) error = path + ": no steps";
    return steps;
}

std::string onlyKinds(const std::vector<Step>& steps, std::initializer_list<Step::Kind> kinds) {
    for (const Step& s : steps)
        if (std::find(kinds.begin(), kinds.end(), s.kind) == kinds.end())
            return "line " + std::to_string(s.line) + ": no \"" + verbOf(s.kind) + "\" step here";
    return {};
}

std::vector<Step> fromProgram(const std::vector<Step>& steps) {
    const auto program = std::find_if(steps.begin(), steps.end(),
                                      [](const Step& s) { return s.kind == Step::Program; });
    return {program, steps.end()};
}

} // namespace procesor::testing
