// What the window draws: wires and dots, the red overlays that are lit, the blocks
// over the stubs that start inside them, label bars, panel bevels, and that the
// repaints after each event leave the same picture as a full repaint.

#include <QScreen>
#include <QtTest>

#include "renderer/DiagramLayout.h"
#include "tests/support/WindowTesting.h"

using namespace procesor;
using namespace testing;

namespace {

constexpr QRgb kGreen = 0x008000;
constexpr QRgb kRed = 0xFF0000;
constexpr QRgb kBackground = 0xD4D0C8;
constexpr QRgb kBlack = 0x000000;
constexpr QRgb kWhite = 0xFFFFFF;
constexpr QRgb kYellow = 0xFFFF00;
constexpr QRgb kSkyBlue = 0xA6CAF0;
constexpr QRgb kLight = 0xFFFFFF;
constexpr QRgb kDark = 0x808080;
constexpr QRgb kLime = 0x00FF00;
constexpr QRgb kMoneyGreen = 0xC0DCC0;
constexpr QRgb kCream = 0xFFFBF0;

struct Pixel {
    int x;
    int y;
    QRgb rgb;
    const char* what;
};

void expectPixels(const QImage& image, std::initializer_list<Pixel> pixels) {
    for (const Pixel& p : pixels) {
        const QRgb found = rgbAt(image, p.x, p.y);
        QVERIFY2(found == p.rgb, qPrintable(QStringLiteral("%1 at %2,%3: %4, expected %5")
                                                .arg(QString::fromUtf8(p.what))
                                                .arg(p.x)
                                                .arg(p.y)
                                                .arg(hex(found), hex(p.rgb))));
    }
}

// Every red pixel inside the overlay areas must belong to one of the lit boxes.
void expectRedOnlyIn(const QImage& image, std::initializer_list<QRect> lit) {
    int strays = 0;
    QString first;
    for (const layout::Overlay& o : layout::overlays()) {
        const layout::Box& b = o.red;
        for (int y = b.y; y < b.y + b.h; ++y)
            for (int x = b.x; x < b.x + b.w; ++x) {
                if (rgbAt(image, x, y) != kRed) continue;
                bool inLit = false;
                for (const QRect& r : lit) inLit = inLit || r.contains(x, y);
                if (!inLit && strays++ == 0)
                    first = QStringLiteral("%1,%2 (Image%3)").arg(x).arg(y).arg(o.image);
            }
    }
    QVERIFY2(strays == 0, qPrintable(QStringLiteral("%1 red pixels outside the lit overlays, "
                                                    "first at %2")
                                         .arg(strays)
                                         .arg(first)));
}

// The worked example: LDA 5; MOV; ADD; HLT.
void loadWorkedExample(TForm1& form) {
    const int words[] = {0b0001, 0b0101, 0b1011, 0b0101, 0b1110};
    for (int i = 0; i < 5; ++i) form.simulator().model().ram[std::size_t(i)] = words[i];
}

QImage onScreen(TForm1& form) {
    QCoreApplication::processEvents();
    return form.screen()->grabWindow(form.winId()).toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class WindowPicture : public QObject {
    Q_OBJECT

private slots:
    void wiresAndDotsAreTwoPixelGreenLinesAndFourPixelSquares() {
        Window w = openWindow();
        const QImage image = picture(*w);
        expectPixels(image,
                     {
                         // The stepping wire: up from "krokování" (x = 448, y 285..326), then along
                         // y = 283 into the PC (x 448..560).
                         {448, 285, kGreen, "stepping wire, top of the rise"},
                         {449, 326, kGreen, "stepping wire, bottom of the rise"},
                         {448, 327, kBackground, "row 327, past the rise's end"},
                         {450, 300, kBackground, "column 450, right of the rise"},
                         {447, 300, kBackground, "column 447, left of the rise"},
                         {448, 283, kGreen, "stepping wire into the PC, first column"},
                         {560, 284, kGreen, "stepping wire into the PC, last column"},
                         {500, 282, kBackground, "row above the stepping wire"},
                         {500, 285, kBackground, "row below the stepping wire"},
                         {447, 283, kBackground, "left of the stepping wire's start"},
                         // The PC count's vertical piece, x = 416, y 272..304.
                         {416, 272, kGreen, "PC count, top"},
                         {417, 304, kGreen, "PC count, bottom"},
                         {418, 290, kBackground, "right of the PC count"},
                         {418, 306, kBackground, "below the corner of the PC count"},
                         {415, 280, kBackground, "left of the PC count"},
                         // Phi1 rises from y = 174 into IR's bottom edge at 104.
                         {578, 105, kGreen, "Phi1 just under IR"},
                         {578, 104, kBlack, "IR's bottom edge"},
                         // The bus lines run from y = 48 down to 688.
                         {736, 60, kGreen, "bus line of bit 3"},
                         {785, 688, kGreen, "bus line of bit 0, last row"},
                         {784, 689, kBackground, "below the bus"},
                         {786, 300, kBackground, "right of the bus line of bit 0"},
                         // Junction dot Image99 at 257,231 (4 x 4) on the Phi2 wire.
                         {257, 231, kGreen, "Phi2 dot, top-left"},
                         {260, 234, kGreen, "Phi2 dot, bottom-right"},
                         {256, 231, kBackground, "left of the Phi2 dot"},
                         {261, 231, kBackground, "right of the Phi2 dot"},
                         {257, 230, kBackground, "above the Phi2 dot"},
                         // Dot Image77 where the PC's stub of bit 3 meets the bus.
                         {735, 263, kGreen, "PC stub dot, bit 3"},
                         {734, 263, kBackground, "left of that dot"},
                         // A crossing without a dot is no connection: A/W crosses the PC/I wire.
                         {190, 295, kBackground, "no dot where A/W crosses PC/I"},
                     });
    }

    void stubsStartingInsideABlockShowFromItsEdge() {
        Window w = openWindow();
        const QImage image = picture(*w);
        expectPixels(image, {
                                {649, 265, kBlack, "PC's right edge over its stub"},
                                {650, 265, kGreen, "PC stub right of the block"},
                                {640, 289, kWhite, "inside the PC, where the stub is stored"},
                                {650, 505, kGreen, "register A stub right of the block"},
                                {640, 505, kWhite, "inside register A"},
                                {650, 657, kGreen, "register B stub right of the block"},
                                {702, 401, kBlack, "RAM's right edge over its stub"},
                                {703, 401, kGreen, "RAM stub right of the block"},
                                {690, 425, kWhite, "inside the RAM, where the stub is stored"},
                                {312, 216, kBlack, "gate outline over the end of the IR/W wire"},
                                {311, 216, kGreen, "IR/W wire left of the gate"},
                            });
    }

    void atStartOnlyThePcIncrementLineIsRed() {
        Window w = openWindow();
        const QImage image = picture(*w);
        const QRect vertical(26, 190, 3, 109);
        const QRect horizontal(26, 296, 287, 3);
        expectRedOnlyIn(image, {vertical, horizontal});
        expectPixels(image, {
                                {26, 190, kRed, "PC/I, top of the vertical"},
                                {28, 250, kRed, "PC/I, third column of the vertical"},
                                {200, 298, kRed, "PC/I, third row of the horizontal"},
                                {311, 297, kRed, "PC/I, last column before the gate"},
                                {312, 297, kBlack, "the gate over the PC/I wire's end"},
                                {113, 300, kGreen, "RAM/R, not lit"},
                                {737, 300, kGreen, "bus line of bit 3, not lit"},
                                {450, 97, kGreen, "micro-address bit 0, not lit"},
                            });
    }

    void theFirstMicrostepOfTheWorkedExampleLightsTheFetch() {
        Window w = openWindow();
        loadWorkedExample(*w);
        clickAt(*w, {859, 132}); // "provoz"
        for (int pulse = 0; pulse < 3; ++pulse) {
            w->run(&Simulator::Panel1Click);
            w->run(&Simulator::Button1Click);
        }
        QCOMPARE(w->simulator().model().ir, 1);
        QCOMPARE(w->simulator().model().bus, 1);

        const QImage image = picture(*w);
        // Lit: RAM/R, IR/W, micro-address bit 0 and the whole bus line of bit 0.
        expectRedOnlyIn(image,
                        {
                            {112, 190, 3, 259}, {112, 448, 393, 3}, // RAM/R
                            {224, 190, 3, 27},  {224, 216, 89, 3},  // IR/W
                            {308, 96, 252, 3},                      // micro-address bit 0
                            {784, 48, 3, 641},  {648, 96, 135, 3},  {649, 288, 136, 3},
                            {703, 424, 83, 3},  {649, 528, 136, 3}, {649, 592, 136, 3},
                            {649, 656, 136, 3}, {782, 200, 59, 3},  {783, 95, 5, 5},
                            {783, 287, 5, 5},   {783, 423, 5, 5},   {783, 527, 5, 5},
                            {783, 591, 5, 5},   {783, 655, 5, 5},   {783, 199, 5, 5}, // bus bit 0
                        });
        expectPixels(image, {
                                {113, 300, kRed, "RAM/R vertical"},
                                {300, 450, kRed, "RAM/R horizontal"},
                                {225, 200, kRed, "IR/W vertical"},
                                {280, 218, kRed, "IR/W horizontal"},
                                {450, 98, kRed, "micro-address bit 0"},
                                {786, 350, kRed, "bus line of bit 0"},
                                {700, 98, kRed, "IR stub of bit 0"},
                                {700, 289, kRed, "PC stub of bit 0"},
                                {720, 425, kRed, "RAM stub of bit 0"},
                                {700, 529, kRed, "register A stub of bit 0"},
                                {700, 593, kRed, "adder stub of bit 0"},
                                {700, 657, kRed, "register B stub of bit 0"},
                                {800, 201, kRed, "bus switch stub of bit 0"},
                                {787, 99, kRed, "dot of the IR stub, bit 0"},
                                {787, 203, kRed, "dot of the bus switch stub, bit 0"},
                                // Dark again or never lit.
                                {27, 250, kGreen, "PC/I"},
                                {259, 400, kGreen, "Phi2"},
                                {400, 173, kGreen, "Phi1"},
                                {450, 89, kGreen, "micro-address bit 1"},
                                {737, 350, kGreen, "bus line of bit 3"},
                                {400, 225, kGreen, "IR load"},
                                {593, 310, kGreen, "PC to RAM, bit 3"},
                            });
        // Line 0001 and NOP marked; the digits in their blocks.
        expectPixels(image, {
                                {40, 48, kYellow, "Label15, line 0001"},
                                {40, 32, kSkyBlue, "Label14, line 0000"},
                                {12, 32, kYellow, "Label13, NOP"},
                            });
    }

    void labelBarsAreAsWideAsTheirCaptions() {
        Window w = openWindow();
        QImage image = picture(*w);
        // Row 0 of a label is above every glyph: the bar alone.
        expectPixels(image, {
                                {39, 32, kWhite, "left of Label14"},
                                {40, 32, kYellow, "Label14, first column"},
                                {136, 32, kYellow, "Label14, 97th column"},
                                {137, 32, kWhite, "right of Label14"},
                                {536, 344, kYellow, "Label35, first column"},
                                {568, 344, kYellow, "Label35, 33rd column"},
                                {569, 344, kWhite, "right of Label35"},
                                {568, 360, kSkyBlue, "Label36, 33rd column"},
                            });
        // A written word is narrower than the blank cell; the bar follows it.
        clickAt(*w, {448, 372}); // "zápis do RAM" with all switches at 0
        QCOMPARE(w->simulator().model().ramText[0], std::string("OOOO"));
        image = picture(*w);
        expectPixels(image, {
                                {567, 344, kYellow, "Label35 \"OOOO\", 32nd column"},
                                {568, 344, kWhite, "Label35 \"OOOO\", no 33rd column"},
                            });
    }

    void panelsShowTheirBevelsAndColours() {
        Window w = openWindow();
        const QImage image = picture(*w);
        expectPixels(
            image,
            {
                // Panel6 "programování", 819,96 81x25: lowered twice, lime.
                {819, 96, kDark, "Panel6 outer top-left"},
                {850, 96, kDark, "Panel6 outer top"},
                {819, 110, kDark, "Panel6 outer left"},
                {899, 110, kLight, "Panel6 outer right"},
                {899, 96, kLight, "Panel6 outer top-right, in the bottom-right shade"},
                {820, 97, kDark, "Panel6 inner top-left"},
                {898, 110, kLight, "Panel6 inner right"},
                {850, 119, kLight, "Panel6 inner bottom"},
                {822, 100, kLime, "Panel6 face"},
                // Panel7 "provoz", 819,120 81x25: stored as space, drawn raised; money green.
                {850, 120, kLight, "Panel7 outer top"},
                {819, 130, kLight, "Panel7 outer left"},
                {899, 130, kDark, "Panel7 outer right"},
                {850, 144, kDark, "Panel7 outer bottom"},
                {819, 144, kDark, "Panel7 outer bottom-left"},
                {820, 130, kLight, "Panel7 inner left"},
                {850, 143, kDark, "Panel7 inner bottom"},
                {822, 124, kMoneyGreen, "Panel7 face"},
                // Panel1 "ručně", 819,272 73x25: flat cream to its edges.
                {819, 272, kCream, "Panel1 top-left"},
                {891, 296, kCream, "Panel1 bottom-right"},
                {855, 272, kCream, "Panel1 top edge"},
                {820, 273, kCream, "Panel1 where a bevel would be"},
            });
    }

    // The window repaints only what changed; what it shows must still equal a
    // full repaint after every kind of event.
    void repaintsAfterEventsLeaveTheFullPicture() {
        Window w = openWindow();
        loadWorkedExample(*w);
        QImage shown = onScreen(*w);
        if (shown.isNull() || shown.size() != w->size())
            QSKIP("this platform cannot read back the window");
        QCOMPARE(shown, picture(*w));

        struct Step {
            const char* what;
            TForm1::Handler handler;
        };
        const Step steps[] = {
            {"data switch 8 on", &Simulator::Button8Click},
            {"data switch 11 on", &Simulator::Button11Click},
            {"write", &Simulator::Panel4Click},
            {"write released", &Simulator::Button13click},
            {"step", &Simulator::Panel3Click},
            {"step released", &Simulator::Button12click},
            {"step", &Simulator::Panel3Click},
            {"clear", &Simulator::Panel5Click},
            {"run mode", &Simulator::Panel7Click},
        };
        for (const Step& s : steps) {
            w->run(s.handler);
            QVERIFY2(onScreen(*w) == picture(*w), s.what);
        }
        loadWorkedExample(*w);
        w->run(&Simulator::Panel7Click);
        for (int pulse = 1; pulse <= 34; ++pulse) {
            w->run(&Simulator::Panel1Click);
            QVERIFY2(onScreen(*w) == picture(*w),
                     qPrintable(QStringLiteral("pulse %1").arg(pulse)));
            w->run(&Simulator::Button1Click);
        }
        QCOMPARE(w->simulator().model().ir, 15); // halted on HLT
        w->run(&Simulator::Panel6Click);
        QVERIFY2(onScreen(*w) == picture(*w), "programming mode again");
    }
};

QTEST_MAIN(WindowPicture)
#include "test_window_picture.moc"
