// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QStyleHints>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "assets/ProgramIcon.h"
#include "display/TForm1.h"
#include "model/Grading.h"

namespace {

// `procesor --version` and `procesor --help`, answered before any window opens.
constexpr const char* kVersion =
    "Procesor " PROCESOR_VERSION "\n"
    "Copyright (C) 2026 Procesor team\n"
    "Licence GPLv3+: GNU GPL verze 3 nebo novější <https://gnu.org/licenses/gpl.html>.\n"
    "Toto je svobodný software: můžete jej měnit a šířit.\n"
    "Neposkytuje se ŽÁDNÁ ZÁRUKA, v rozsahu povoleném zákonem.\n"
    "Písmo: glyfy \"MS Sans Serif\" projektu Wine (LGPL-2.1+)\n"
    "a Liberation Serif Bold (SIL OFL 1.1); viz /usr/share/doc/procesor/copyright.\n";
constexpr const char* kHelp = "Použití: procesor [--version | --help] [PROGRAM | ÚLOHA]\n"
                              "        procesor --check [--csv] ÚLOHA PROGRAM…\n"
                              "        procesor --verify ÚLOHA KÓD\n"
                              "Výukový simulátor malého mikroprogramovaného procesoru.\n";

} // namespace

int main(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) return std::fputs(kVersion, stdout) < 0;
        if (std::strcmp(argv[i], "--help") == 0) return std::fputs(kHelp, stdout) < 0;
    }
    // Grading opens no window and needs no display.
    if (const int status = procesor::gradeFromCommandLine(
            std::vector<std::string>(argv + 1, argv + argc), std::cout, std::cerr);
        status >= 0)
        return status;
    QApplication app(argc, argv);
    QApplication::setWindowIcon(procesor::programIcon());
    // A steady caret: nothing in the window wakes up while the machine stands still.
    QGuiApplication::styleHints()->setCursorFlashTime(0);
    procesor::TForm1 Form1;
    Form1.show();
    // "procesor lesson.txt": the program in the file, brought in as if entered by hand,
    // once the window's first frame is out.
    // The machine offered to the explainers the student opens from it.
    Form1.afterFirstFrame([&Form1] { Form1.serveExplainers(); });
    if (const QStringList args = QCoreApplication::arguments(); args.size() > 1)
        Form1.afterFirstFrame([&Form1, path = args.at(1)] { Form1.openFile(path); });
    return app.exec();
}
