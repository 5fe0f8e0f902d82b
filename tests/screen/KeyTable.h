#pragma once

#include <fstream>
#include <sstream>
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

inline std::vector<KeyRow> readKeyTable(const std::string& path) {
    std::vector<KeyRow> rows;
    std::ifstream in(path);
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (text.empty() || text[0] == '#') continue;
        std::istringstream words(text);
        KeyRow row{line, {}, {}, {}};
        words >> row.key >> row.focus;
        for (std::string w; words >> w;) row.did.push_back(w);
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace testing
