#pragma once

// The keys of the view around a picture, decided once for every window that shows
// one: the simulator's main window and the explainers' windows. A front end reads
// its toolkit's key event into a KeyChord and asks here; nothing else is needed to
// include this (no library, no toolkit).
namespace procesor::screen {

// A key as pressed: what the key gives without Shift (a digit, a letter in lower
// case; 0 for any other key), the keys of the keypad counted as the main ones, and
// the modifiers held.
struct KeyChord {
    char key = 0;
    bool ctrl = false;
    bool shift = false;
    bool alt = false;
    bool meta = false;
};

// "1:1": one device pixel per picture pixel, and back to the fitted picture. Ctrl+0,
// on the keypad too; Shift may be held, for the keyboards whose digits need it (the
// Czech one's top row gives "é" for 0 without it); Alt or the system key is another
// key.
constexpr bool isActualSizeKey(KeyChord chord) {
    return chord.key == '0' && chord.ctrl && !chord.alt && !chord.meta;
}

} // namespace procesor::screen
