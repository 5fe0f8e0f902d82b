#include "companions/plimo/GateWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"
#include "companions/vondrel/ControlUnit.h"

namespace companion {

namespace {

QString bitText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The diagram's gate at twice its size: 25 x 33 px with a 2 px outline, 3 px at the
// bottom, "&" in the middle; inputs 8 and 24 px below the top, the output at 16 px.
constexpr int kGateScale = 2;
constexpr QRect kGate(150, 20, 25 * kGateScale, 33 * kGateScale);
constexpr int kSignalY = kGate.top() + 8 * kGateScale;
constexpr int kPhi2Y = kGate.top() + 24 * kGateScale;
constexpr int kOutputY = kGate.top() + 16 * kGateScale;

} // namespace

GateView::GateView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gateView"));
    setMinimumSize(420, 110);
}

void GateView::setState(std::optional<int> gate, bool signal, bool phi2) {
    gate_ = gate;
    signal_ = signal;
    phi2_ = phi2;
    update();
}

void GateView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const bool out = andGate(signal_, phi2_);
    const QString signalName =
        gate_ ? look::toQString(kStrobeGates[static_cast<std::size_t>(*gate_)].signalName)
              : QStringLiteral("signál");

    const qreal inputStart = 20;
    wires::drawWire(p, QPointF(inputStart, kSignalY), QPointF(kGate.left(), kSignalY), signal_);
    wires::drawCaption(p, QPointF(inputStart + 2, kSignalY - 6),
                       QStringLiteral("%1 = %2").arg(signalName, bitText(signal_)), signal_);
    wires::drawWire(p, QPointF(inputStart, kPhi2Y), QPointF(kGate.left(), kPhi2Y), phi2_);
    wires::drawCaption(p, QPointF(inputStart + 2, kPhi2Y - 6),
                       QStringLiteral("Φ2 = %1").arg(bitText(phi2_)), phi2_);

    p.fillRect(kGate, Qt::black);
    p.fillRect(kGate.adjusted(2 * kGateScale, 2 * kGateScale, -2 * kGateScale, -3 * kGateScale),
               Qt::white);
    look::drawDiagramText(p, kGate.adjusted(0, 0, 0, -kGateScale), procesor::render::Face::Digits,
                          QStringLiteral("&"), Qt::black, Qt::white, kGateScale);

    const qreal outX = kGate.right() + 1;
    const QRectF block(outX + 120, kOutputY - 20, 60, 40);
    wires::drawWire(p, QPointF(outX, kOutputY), QPointF(block.left() - 1, kOutputY), out);
    wires::drawArrowHead(p, QPointF(outX, kOutputY), QPointF(block.left() - 1, kOutputY), out);
    wires::drawCaption(p, QPointF(outX + 6, kOutputY - 6),
                       QStringLiteral("impulz = %1").arg(bitText(out)), out);
    if (gate_)
        wires::drawBlock(p, block,
                         look::toQString(kStrobeGates[static_cast<std::size_t>(*gate_)].block));
}

GateWindow::GateWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Hradlo AND – zápisové impulzy"),
        QStringLiteral("Hradla AND a fáze Φ2"),
        QStringLiteral(
            "Zápisové signály z dekodéru URČENÍ (IR/W, PC/W, A/W, B/W) a signál PC/I nevedou do "
            "registrů přímo. Každý z nich prochází jedním z pěti hradel AND, jejichž druhým "
            "vstupem je fáze hodin Φ2. Hradlo AND dává na výstupu 1 jen tehdy, když jsou oba "
            "vstupy 1. Jeho výstup je zápisový impulz: při něm registr převezme hodnotu ze "
            "sběrnice (nebo PČ přičte 1). Klikněte na vstupy nebo stiskněte „takt“ a sledujte "
            "výstup."));

    auto* chooser = new QHBoxLayout;
    auto* chooseLabel = new QLabel(QStringLiteral("Hradlo:"), this);
    chooseLabel->setFont(look::font(true));
    chooser->addWidget(chooseLabel);
    gates_ = new QButtonGroup(this);
    for (std::size_t i = 0; i < kStrobeGates.size(); ++i) {
        auto* button = new PanelButton(look::toQString(kStrobeGates[i].signalName), this);
        button->setObjectName(QStringLiteral("gate%1").arg(i));
        button->setCheckable(true);
        gates_->addButton(button, static_cast<int>(i));
        chooser->addWidget(button);
    }
    chooser->addStretch();
    layout->addLayout(chooser);
    connect(gates_, &QButtonGroup::idClicked, this, [this](int gate) { chooseGate(gate); });

    auto* inputs = new QHBoxLayout;
    signalLamp_ = new SignalLamp(QString(), this);
    signalLamp_->setObjectName(QStringLiteral("signal"));
    phi2Lamp_ = new SignalLamp(QStringLiteral("Φ2"), this);
    phi2Lamp_->setObjectName(QStringLiteral("phi2"));
    outputLamp_ = new SignalLamp(QStringLiteral("výstup (impulz)"), this);
    outputLamp_->setObjectName(QStringLiteral("output"));
    outputLamp_->setInteractive(false);
    clock_ = new PanelButton(QStringLiteral("takt"), this);
    clock_->setObjectName(QStringLiteral("pulse"));
    phaseLabel_ = new QLabel(this);
    phaseLabel_->setObjectName(QStringLiteral("phase"));
    inputs->addWidget(signalLamp_);
    inputs->addWidget(phi2Lamp_);
    inputs->addSpacing(16);
    inputs->addWidget(outputLamp_);
    inputs->addSpacing(16);
    inputs->addWidget(clock_);
    inputs->addWidget(phaseLabel_);
    inputs->addStretch();
    layout->addLayout(inputs);
    connect(signalLamp_, &QAbstractButton::clicked, this, [this](bool on) {
        signal_ = on;
        refresh();
    });
    connect(phi2Lamp_, &QAbstractButton::clicked, this, [this](bool on) {
        // Phi2 is high only in phase Phi2; switching it off returns the clock to rest.
        phase_ = on ? Phase::Phi2 : Phase::Rest;
        refresh();
    });
    connect(clock_, &QPushButton::clicked, this, [this] { pulse(); });

    auto* middle = new QHBoxLayout;
    view_ = new GateView(this);
    middle->addWidget(view_);

    auto* table = new QGridLayout;
    table->setHorizontalSpacing(1);
    table->setVerticalSpacing(1);
    const QString heads[] = {QStringLiteral("signál"), QStringLiteral("Φ2"),
                             QStringLiteral("impulz")};
    for (int column = 0; column < 3; ++column) {
        auto* head = new QLabel(heads[column], this);
        head->setFont(look::font(true));
        head->setAlignment(Qt::AlignCenter);
        table->addWidget(head, 0, column);
    }
    const std::array<GateRow, 4> rows = truthTable();
    for (std::size_t row = 0; row < rows.size(); ++row) {
        const bool values[] = {rows[row].signal, rows[row].phi2, rows[row].strobe};
        for (std::size_t column = 0; column < 3; ++column) {
            QLabel* cell = look::makeMarkable(bitText(values[column]), this);
            cell->setAlignment(Qt::AlignCenter);
            cell->setMinimumWidth(44);
            table->addWidget(cell, static_cast<int>(row) + 1, static_cast<int>(column));
            table_[row][column] = cell;
        }
    }
    auto* tableBox = new QVBoxLayout;
    auto* tableTitle = new QLabel(QStringLiteral("Pravdivostní tabulka AND"), this);
    tableTitle->setFont(look::font(true));
    tableBox->addWidget(tableTitle);
    tableBox->addLayout(table);
    tableBox->addStretch();
    middle->addLayout(tableBox);
    middle->addStretch();
    layout->addLayout(middle);

    usage_ = look::makeText(QString(), this);
    usage_->setObjectName(QStringLiteral("usage"));
    layout->addWidget(usage_);

    auto* why = new QLabel(QStringLiteral("Proč se zapisuje až ve fázi Φ2?"), this);
    why->setFont(look::font(true));
    layout->addWidget(why);
    layout->addWidget(look::makeText(
        QStringLiteral(
            "Jeden mikrokrok trvá tři takty. Při vstupu do fáze Φ1 řadič zvýší IR, dekóduje "
            "nový řádek mikroprogramu a zdroj začne vystavovat svou hodnotu na sběrnici. Řídicí "
            "signály i sběrnice se musí nejprve ustálit. Kdyby registr převzal hodnotu ze "
            "sběrnice hned se signálem /W, mohl by uložit starou nebo ještě neustálenou hodnotu – "
            "a IR, který ve fázi Φ1 sám počítá, by si přepsal mikroadresu dřív, než jeho řádek "
            "doběhne. Hradlo AND proto propustí zápisový signál až ve fázi Φ2, kdy je hodnota na "
            "sběrnici ustálená, a registr ji převezme právě v tu chvíli. Třetím taktem přejdou "
            "hodiny do klidu: zápisové impulzy jsou opět 0, řídicí signály ale trvají až do "
            "další fáze Φ1."),
        this));
    layout->addStretch();

    refresh();
    look::fitToContents(this, 780);
}

void GateWindow::chooseGate(int gate) {
    gate_ = gate;
    const StrobeGate& chosen = kStrobeGates[static_cast<std::size_t>(gate)];
    if (QAbstractButton* button = gates_->button(gate)) button->setChecked(true);
    QStringList lines;
    for (int line : linesUsing(chosen.signal))
        lines << QStringLiteral("%1 (%2)").arg(look::binary(line),
                                               look::toQString(instructionOfLine(line)));
    usage_->setText(QStringLiteral("Impulz hradla %1: %2. Signál %1 %3.")
                        .arg(look::toQString(chosen.signalName), look::toQString(chosen.target),
                             look::switchedOnBy(lines.join(QStringLiteral(", ")),
                                                static_cast<std::size_t>(lines.size()))));
    refresh();
}

void GateWindow::pulse() {
    phase_ = nextPhase(phase_);
    refresh();
}

void GateWindow::refresh() {
    const bool chosen = gate_.has_value();
    // Until a gate is chosen nothing names a signal the student did not click.
    signalLamp_->setText(
        chosen ? look::toQString(kStrobeGates[static_cast<std::size_t>(*gate_)].signalName)
               : QStringLiteral("signál"));
    signalLamp_->updateGeometry();
    if (!chosen) usage_->setText(QStringLiteral("Vyberte hradlo: IR/W, PC/W, PC/I, A/W nebo B/W."));
    for (QWidget* input : std::initializer_list<QWidget*>{signalLamp_, phi2Lamp_, clock_})
        input->setEnabled(chosen);

    const bool phi2 = phi2High(phase_);
    signalLamp_->setChecked(signal_);
    phi2Lamp_->setChecked(phi2);
    outputLamp_->setChecked(andGate(signal_, phi2));
    phaseLabel_->setText(QStringLiteral("hodiny: %1").arg(look::stateName(phase_)));
    view_->setState(gate_, signal_, phi2);
    const int current = truthRow(signal_, phi2);
    for (std::size_t row = 0; row < table_.size(); ++row)
        for (QLabel* cell : table_[row]) look::setMarked(cell, static_cast<int>(row) == current);
}

} // namespace companion
