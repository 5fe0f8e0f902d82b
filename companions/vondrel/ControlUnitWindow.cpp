#include "companions/vondrel/ControlUnitWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"
#include "companions/common/Word.h"

namespace companion {

using procesor::kInstructions;
using procesor::kMicroprogram;

namespace {

// The first line of the routine that holds `line`: where the listing names it.
int routineHead(int line) {
    while (line > 0 && kMicroprogram[static_cast<std::size_t>(line - 1)].instructionLabel ==
                           kMicroprogram[static_cast<std::size_t>(line)].instructionLabel)
        --line;
    return line;
}

// "1 mikrokrok", "3 mikrokroky", "5 mikrokroků"
QString microsteps(int n) {
    if (n == 1) return QStringLiteral("1 mikrokrok");
    if (n >= 2 && n <= 4) return QStringLiteral("%1 mikrokroky").arg(n);
    return QStringLiteral("%1 mikrokroků").arg(n);
}

QString signalList(unsigned controls) {
    QStringList names;
    for (std::string_view name : signalNames(controls)) names << look::toQString(name);
    return names.join(QStringLiteral(", "));
}

QString sourceText(Source source) {
    switch (source) {
    case Source::Ram:
        return QStringLiteral("slovo z RAM na adrese v PČ");
    case Source::A:
        return QStringLiteral("hodnotu registru A");
    case Source::Adder:
        return QStringLiteral("součet A + B ze sčítačky");
    case Source::None:
        break;
    }
    return {};
}

QString destinationText(Destination destination) {
    switch (destination) {
    case Destination::Ir:
        return QStringLiteral("IR");
    case Destination::Pc:
        return QStringLiteral("PČ");
    case Destination::A:
        return QStringLiteral("registr A");
    case Destination::B:
        return QStringLiteral("registr B");
    case Destination::None:
        break;
    }
    return {};
}

struct ControlLine {
    unsigned signal;
    const char* caption;
};

constexpr ControlLine kSourceLines[] = {
    {procesor::RamRead, "RAM/R   RAM na sběrnici"},
    {procesor::ARead, "A/R   A na sběrnici"},
    {procesor::AddRead, "ADD/R   součet na sběrnici"},
};
constexpr ControlLine kDestinationLines[] = {
    {procesor::IrWrite, "IR/W   sběrnice do IR"},
    {procesor::PcWrite, "PC/W   sběrnice do PČ"},
    {procesor::AWrite, "A/W   sběrnice do A"},
    {procesor::BWrite, "B/W   sběrnice do B"},
};

} // namespace

DecoderView::DecoderView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(360, 400);
    setObjectName(QStringLiteral("decoders"));
}

void DecoderView::setState(bool chosen, int ir, unsigned controls, bool decoded, bool halted) {
    chosen_ = chosen;
    ir_ = toWord(ir);
    controls_ = controls;
    decoded_ = decoded;
    halted_ = halted;
    update();
}

void DecoderView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setFont(look::font());

    // IR and its counting input from the Phi1 line.
    const QRectF irBox(20, 8, 100, 40);
    wires::drawBlock(
        p, irBox, chosen_ ? QStringLiteral("IR\n%1").arg(look::binary(ir_)) : QStringLiteral("IR"));
    wires::drawWire(p, QPointF(210, 28), irBox.topRight() + QPointF(2, 20), decoded_);
    wires::drawArrowHead(p, QPointF(210, 28), irBox.topRight() + QPointF(2, 20), decoded_);
    wires::drawCaption(p, QPointF(150, 22), QStringLiteral("Φ1: +1"), decoded_);

    // The four microaddress lines, weight 8 on the left.
    wires::drawWord(p, QPointF(52, irBox.bottom() + 1), QPointF(52, 92), ir_, 9);
    if (chosen_) wires::drawCaption(p, QPointF(96, 76), QStringLiteral("mikroadresa %1").arg(ir_));

    const QRectF memory(20, 92, 300, 40);
    const auto& line = kMicroprogram[static_cast<std::size_t>(ir_)];
    wires::drawBlock(
        p, memory,
        decoded_
            ? QStringLiteral("paměť mikroprogramu\n%1").arg(look::toQString(line.caption).trimmed())
        : chosen_ ? QStringLiteral("paměť mikroprogramu\nřádek se dekóduje ve fázi Φ1")
                  : QStringLiteral("paměť mikroprogramu"));

    // The line's code goes to the decoders.
    const qreal trunkX = 10;
    const QRectF sources(20, 150, 90, 44);
    const QRectF destinations(20, 212, 90, 56);
    const QRectF ok(20, 286, 90, 24);
    wires::drawWire(
        p,
        QPolygonF{QPointF(memory.left(), memory.center().y()), QPointF(trunkX, memory.center().y()),
                  QPointF(trunkX, ok.center().y()), QPointF(ok.left(), ok.center().y())},
        false);
    wires::drawWire(p, QPointF(trunkX, sources.center().y()),
                    QPointF(sources.left(), sources.center().y()), false);
    wires::drawWire(p, QPointF(trunkX, destinations.center().y()),
                    QPointF(destinations.left(), destinations.center().y()), false);

    wires::drawBlock(p, sources, QStringLiteral("DEKODÉR\nZDROJE"));
    wires::drawBlock(p, destinations, QStringLiteral("DEKODÉR\nURČENÍ"));
    wires::drawBlock(p, ok, QStringLiteral("O/K"));

    const auto drawOutputs = [&](const QRectF& box, const ControlLine* lines, int count) {
        const qreal gap = box.height() / (count + 1);
        for (int i = 0; i < count; ++i) {
            const qreal y = box.top() + gap * (i + 1);
            const bool on = decoded_ && (controls_ & lines[i].signal);
            wires::drawWire(p, QPointF(box.right() + 1, y), QPointF(box.right() + 70, y), on);
            wires::drawCaption(p, QPointF(box.right() + 76, y + 4),
                               QString::fromUtf8(lines[i].caption), on);
        }
    };
    drawOutputs(sources, kSourceLines, 3);
    drawOutputs(destinations, kDestinationLines, 4);
    const ControlLine count{procesor::PcInc, "PC/I   PČ + 1"};
    drawOutputs(ok, &count, 1);
    wires::drawCaption(p, QPointF(20, 332),
                       QStringLiteral("Zápisové signály a PC/I projdou hradly AND"));
    wires::drawCaption(p, QPointF(20, 346), QStringLiteral("až ve fázi Φ2."));

    // The halt line C/D.
    const QRectF clock(20, 362, 12, 12);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(halted_ ? look::signal() : look::wire());
    p.drawEllipse(clock);
    wires::drawCaption(p, QPointF(40, 373),
                       halted_ ? QStringLiteral("C/D: hodiny stojí")
                               : QStringLiteral("C/D: hodiny běží"),
                       halted_);
}

ControlUnitWindow::ControlUnitWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Řadič a mikroprogram"), QStringLiteral("Řadič a jeho mikroprogram"),
        QStringLiteral(
            "Řadič řídí celý procesor. Jeho mikroprogram má šestnáct řádků; řádek, jehož číslo "
            "(mikroadresa) je v registru IR, určuje, které řídicí signály jsou zapnuté. Při "
            "každém vstupu do fáze Φ1 se IR zvýší o 1 (po 15 následuje 0), takže řadič prochází "
            "řádky jeden po druhém. Signál končící /R vystaví hodnotu své jednotky na sběrnici "
            "(dekodér ZDROJE), signál končící /W nechá jednotku převzít hodnotu ze sběrnice "
            "(dekodér URČENÍ), signál PC/I zvýší PČ o 1.\n"
            "Mikroprogram každé instrukce končí řádkem RAM/R-IR/W: IR převezme ze sběrnice "
            "operační kód další instrukce. Další fáze Φ1 k němu přičte 1, proto mikroprogram "
            "instrukce začíná na řádku (kód + 1) a kód je o jedničku menší než jeho první řádek: "
            "NOP má kód 1111, protože po 15 následuje 0. Řádek 1111 C/D (HLT) zastaví hodiny."));

    auto* columns = new QHBoxLayout;
    columns->setSpacing(14);
    layout->addLayout(columns);

    // The listing, as the control unit shows it.
    auto* listing = new QGridLayout;
    listing->setHorizontalSpacing(4);
    listing->setVerticalSpacing(1);
    auto* listingTitle = new QLabel(QStringLiteral("Mikroprogram"), this);
    listingTitle->setFont(look::font(true));
    listing->addWidget(listingTitle, 0, 0, 1, 2);
    for (int line = 0; line < kWordValues; ++line) {
        const auto index = static_cast<std::size_t>(line);
        if (routineHead(line) == line) {
            nameLabels_[index] = look::makeMarkable(look::toQString(instructionOfLine(line)), this);
            listing->addWidget(nameLabels_[index], line + 1, 0);
        }
        lineLabels_[index] =
            look::makeMarkable(look::toQString(kMicroprogram[index].caption), this);
        lineLabels_[index]->setObjectName(QStringLiteral("line%1").arg(line));
        listing->addWidget(lineLabels_[index], line + 1, 1);
    }
    listing->setRowStretch(kWordValues + 1, 1);
    columns->addLayout(listing);

    // IR and the decoders.
    auto* middle = new QVBoxLayout;
    auto* irTitle = new QLabel(QStringLiteral("IR – mikroadresa"), this);
    irTitle->setFont(look::font(true));
    middle->addWidget(irTitle);
    ir_ = new BitToggle(this);
    ir_->setObjectName(QStringLiteral("ir"));
    ir_->setInteractive(false);
    middle->addWidget(ir_, 0, Qt::AlignLeft);
    decoders_ = new DecoderView(this);
    middle->addWidget(decoders_);
    middle->addStretch();
    columns->addLayout(middle);

    // Choosing an instruction and stepping through it.
    auto* right = new QVBoxLayout;
    auto* chooseTitle = new QLabel(QStringLiteral("Instrukce:"), this);
    chooseTitle->setFont(look::font(true));
    right->addWidget(chooseTitle);
    auto* buttons = new QGridLayout;
    instructions_ = new QButtonGroup(this);
    instructions_->setExclusive(true);
    for (std::size_t i = 0; i < kInstructions.size(); ++i) {
        const procesor::Instruction& instruction = kInstructions[i];
        auto* button =
            new PanelButton(QStringLiteral("%1  %2").arg(look::toQString(instruction.mnemonic),
                                                         look::binary(instruction.opcode)),
                            this);
        button->setObjectName(look::toQString(instruction.mnemonic));
        button->setCheckable(true);
        instructions_->addButton(button, instruction.opcode);
        buttons->addWidget(button, static_cast<int>(i) / 2, static_cast<int>(i) % 2);
    }
    right->addLayout(buttons);
    connect(instructions_, &QButtonGroup::idClicked, this, [this](int opcode) { choose(opcode); });

    auto* codeRow = new QHBoxLayout;
    auto* codeLabel = new QLabel(QStringLiteral("operační kód:"), this);
    codeRow->addWidget(codeLabel);
    opcode_ = new BitToggle(this);
    opcode_->setObjectName(QStringLiteral("opcode"));
    codeRow->addWidget(opcode_);
    codeRow->addStretch();
    right->addLayout(codeRow);
    connect(opcode_, &BitToggle::valueChanged, this, [this](int opcode) {
        if (!tour_ || opcode != tour_->opcode()) choose(opcode);
    });

    auto* controls = new QHBoxLayout;
    step_ = new PanelButton(QStringLiteral("další mikrokrok"), this);
    step_->setObjectName(QStringLiteral("step"));
    restart_ = new PanelButton(QStringLiteral("od začátku"), this);
    restart_->setObjectName(QStringLiteral("restart"));
    controls->addWidget(step_);
    controls->addWidget(restart_);
    controls->addStretch();
    right->addLayout(controls);
    connect(step_, &QPushButton::clicked, this, [this] { step(); });
    connect(restart_, &QPushButton::clicked, this, [this] { restart(); });

    text_ = look::makeText(QString(), this);
    text_->setObjectName(QStringLiteral("explanation"));
    text_->setFixedWidth(330);
    text_->setMinimumHeight(150);
    text_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    text_->setStyleSheet(QStringLiteral("QLabel { background: white; border: 1px solid #808080;"
                                        " padding: 4px; }"));
    right->addWidget(text_);
    right->addStretch();
    columns->addLayout(right);

    refresh();
    look::fitToContents(this, 940);
}

void ControlUnitWindow::choose(int opcode) {
    tour_.emplace(opcode);
    if (QAbstractButton* button = instructions_->button(tour_->opcode()))
        button->setChecked(true);
    else if (QAbstractButton* checked = instructions_->checkedButton()) {
        instructions_->setExclusive(false); // an opcode that names no instruction
        checked->setChecked(false);
        instructions_->setExclusive(true);
    }
    opcode_->setValue(tour_->opcode());
    refresh();
}

void ControlUnitWindow::step() {
    if (tour_) tour_->step();
    refresh();
}

void ControlUnitWindow::restart() {
    if (tour_) tour_->restart();
    refresh();
}

void ControlUnitWindow::refresh() {
    const bool started = tour_ && tour_->started();
    const int current = tour_ ? tour_->ir() : 0;
    const int head = routineHead(current);
    for (int line = 0; line < kWordValues; ++line) {
        const auto index = static_cast<std::size_t>(line);
        look::setMarked(lineLabels_[index], started && line == current);
        if (nameLabels_[index]) look::setMarked(nameLabels_[index], started && line == head);
    }
    ir_->setValue(current);
    decoders_->setState(tour_.has_value(), current, tour_ ? tour_->controls() : 0u, started,
                        tour_ && tour_->halted());
    step_->setEnabled(tour_ && !tour_->finished());
    restart_->setEnabled(started);
    text_->setText(stepText());
}

QString ControlUnitWindow::stepText() const {
    if (!tour_) return QStringLiteral("Vyberte instrukci tlačítkem nebo nastavte operační kód.");
    const MicrostepTour& tour = *tour_;
    const QString mnemonic = look::toQString(mnemonicOf(tour.opcode()));
    const QString code = look::binary(tour.opcode());
    const QString name = mnemonic.isEmpty()
                             ? QStringLiteral("Kód %1 nepatří žádné instrukci; procesor ho přesto "
                                              "přijme a pokračuje řádkem %2.")
                                   .arg(code, look::binary(routineStart(tour.opcode())))
                             : QStringLiteral("Instrukce %1, operační kód %2.").arg(mnemonic, code);
    if (!tour.started())
        return QStringLiteral("%1\nIR obsahuje kód %2, který do něj přenesl řádek RAM/R-IR/W. "
                              "Stiskněte „další mikrokrok“: ve fázi Φ1 se IR zvýší o 1 a řadič "
                              "dekóduje řádek %3. Mikroprogram instrukce má %4.")
            .arg(name, code, look::binary(routineStart(tour.opcode())),
                 microsteps(tour.stepCount()));

    const int line = tour.ir();
    const unsigned controls = tour.controls();
    QString out =
        QStringLiteral("%1\nMikrokrok %2 z %3: IR = %4, řádek %5.\n")
            .arg(name)
            .arg(tour.stepsTaken())
            .arg(tour.stepCount())
            .arg(line)
            .arg(look::toQString(kMicroprogram[static_cast<std::size_t>(line)].caption).trimmed());
    if (tour.halted())
        return out + QStringLiteral("Řádek C/D nezapne žádný řídicí signál, zastaví hodiny. "
                                    "Procesor stojí, dokud se nepřepne režim.");

    out += QStringLiteral("Zapnuté signály: %1.\n").arg(signalList(controls));
    const Source source = sourceOf(controls);
    const Destination destination = destinationOf(controls);
    if (source != Source::None)
        out += QStringLiteral("Fáze Φ1: dekodér ZDROJE vystaví na sběrnici %1.\n")
                   .arg(sourceText(source));
    else
        out += QStringLiteral("Fáze Φ1: žádný zdroj, sběrnice drží svou poslední hodnotu.\n");
    if (destination != Destination::None)
        out += QStringLiteral("Fáze Φ2: dekodér URČENÍ – %1 převezme hodnotu ze sběrnice.")
                   .arg(destinationText(destination));
    if (controls & procesor::PcInc)
        out += QStringLiteral("Fáze Φ2: PČ se zvýší o 1 (po 15 následuje 0).");
    if (isFetchLine(line))
        out += QStringLiteral("\nTímto řádkem mikroprogram instrukce končí: IR převezme "
                              "operační kód další instrukce a další mikrokrok začne na řádku "
                              "(kód + 1).");
    return out;
}

} // namespace companion
