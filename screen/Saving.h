#pragma once

#include <string>
#include <string_view>

// What the front ends save on the student's request: the diagram as a picture, the
// timing diagram as a picture and the table of pulses. A file that cannot be written
// is said in the error box; nothing of the machine or the time line is lost by it.
namespace procesor::screen {

enum class SavedFile {
    Picture,       // "Uložit obrázek…": the diagram
    TimingPicture, // "Uložit obrázek (PNG)…" of "Časový diagram"
    Table,         // "Uložit tabulku (CSV)…": the table of pulses
};

// The error box's text for a file that could not be written at `path` (as the user
// chose it), saying what was not saved and what to do.
std::string saveFailedMessage(SavedFile what, std::string_view path);

} // namespace procesor::screen
