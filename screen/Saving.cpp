#include "screen/Saving.h"

namespace procesor::screen {

std::string saveFailedMessage(SavedFile what, std::string_view path) {
    std::string lead;
    switch (what) {
    case SavedFile::Picture:
        lead = "Obrázek nebyl uložen";
        break;
    case SavedFile::TimingPicture:
        lead = "Obrázek časového diagramu nebyl uložen";
        break;
    case SavedFile::Table:
        lead = "Tabulka taktů nebyla uložena";
        break;
    }
    return lead + ": do souboru „" + std::string(path) +
           "“ nelze zapisovat. Zvolte jinou složku nebo jiný název souboru.";
}

} // namespace procesor::screen
