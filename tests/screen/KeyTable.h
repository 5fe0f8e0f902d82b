#pragma once

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// The rows of tests/screen/keys.txt: a key, the control with the focus afterwards,
// and what else the key did. Every front end's keyboard test reads the same rows.
namespace testing {

struct KeyRow {
    int line;
    std::string key;              // Tab, BackTab, Space, Enter, Up, Down, or "-"
    std::string focus;            // Edit17, Button8, UpDown1-up, Panel6, ..., or none
    std::vector<std::string> did; // speed=N, run, ButtonN=B, pulse
};

inline std::vector<KeyRow> readKeyTable(const char* path) {
    std::vector<KeyRow> rows;
    std::FILE* in = std::fopen(path, "rb");
    if (!in) return rows;
    std::string text;
    int line = 0;
    for (int c = 0; c != EOF;) {
        c = std::fgetc(in);
        if (c != '\n' && c != EOF) {
            text += char(c);
            continue;
        }
        ++line;
        std::vector<std::string> words;
        for (std::size_t at = 0; at < text.size();) {
            const std::size_t start = text.find_first_not_of(" \t\r", at);
            if (start == std::string::npos) break;
            const std::size_t end = std::min(text.find_first_of(" \t\r", start), text.size());
            words.push_back(text.substr(start, end - start));
            at = end;
        }
        text.clear();
        if (words.size() < 2 || words[0][0] == '#') continue;
        rows.push_back({line, words[0], words[1], {words.begin() + 2, words.end()}});
    }
    std::fclose(in);
    return rows;
}

} // namespace testing
