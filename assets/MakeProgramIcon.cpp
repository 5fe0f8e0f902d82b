// Build-time tool: renders the program's icon (assets/procesor.svg) at the sizes a
// window frame, a task bar and a window switcher ask for, and writes them as tables
// of premultiplied ARGB pixels into a header. The programs then take their icon from
// that data and need neither the SVG module nor the system's fonts at start-up.
//
//   make_program_icon procesor.svg ProgramIconData.h
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_program_icon ICON.svg OUT.h\n");
        return 2;
    }
    QGuiApplication app(argc, argv); // the text in the picture needs the font database
    QSvgRenderer svg{QString::fromLocal8Bit(argv[1])};
    if (!svg.isValid()) {
        std::fprintf(stderr, "make_program_icon: %s is not a valid SVG picture\n", argv[1]);
        return 1;
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        std::fprintf(stderr, "make_program_icon: cannot write %s\n", argv[2]);
        return 1;
    }
    QTextStream text(&out);
    text << "#pragma once\n\n// Generated at build time by make_program_icon from "
            "assets/procesor.svg.\n"
            "#include <cstdint>\n\nnamespace procesor {\n\n"
            "// 0xAARRGGBB, premultiplied, row by row.\n"
            "struct ProgramIconImage {\n    int side;\n    const std::uint32_t* pixels;\n};\n\n";
    const int sides[] = {16, 24, 32, 48, 64, 128};
    for (const int side : sides) {
        QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        QPainter painter(&image);
        svg.render(&painter);
        painter.end();
        text << "inline constexpr std::uint32_t kProgramIcon" << side << "[] = {";
        for (int y = 0; y < side; ++y) {
            const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
            text << "\n   ";
            for (int x = 0; x < side; ++x)
                text << " 0x" << QString::number(row[x], 16).rightJustified(8, QLatin1Char('0'))
                     << ',';
        }
        text << "\n};\n";
    }
    text << "\ninline constexpr ProgramIconImage kProgramIconImages[] = {";
    for (const int side : sides) text << "{" << side << ", kProgramIcon" << side << "}, ";
    text << "};\n\n} // namespace procesor\n";
    text.flush();
    return out.error() == QFile::NoError ? 0 : 1;
}
