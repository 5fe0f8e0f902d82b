#include "companions/plimo/GateWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

#include "companions/vondrel/ControlUnit.h"
#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"

namespace companion {

namespace {

QString bitText(bool on) {
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

// The register that the gate's strobe drives, as the block is labelled.
QString targetBlock(int gate) {
    const std::string_view name = kStrobeGates[static_cast<std::size_t>(gate)].signalName;
    return look::toQString(name.substr(0, name.find('/')));
}

} // namespace

GateView::GateView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("gateView"));
    setMinimumSize(400, 130);
}

void GateView::setState(int gate, bool signal, bool phi2) {
    gate_ = gate;
    signal_ = signal;
    phi2_ = phi2;
    update();
}

void GateView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const StrobeGate& gate = kStrobeGates[static_cast<std::size_t>(gate_)];
    const bool out = andGate(signal_, phi2_);

    const qreal left = 150, top = 20, bottom = 110, mid = (top + bottom) / 2;
    wires::drawWire(p, QPointF(20, 40), QPointF(left, 40), signal_);
    wires::drawCaption(
        p, QPointF(22, 34),
        QStringLiteral("%1 = %2").arg(look::toQString(gate.signalName), bitText(signal_)), signal_);
    wires::drawWire(p, QPointF(20, 90), QPointF(left, 90), phi2_);
    wires::drawCaption(p, QPointF(22, 84), QStringLiteral("Φ2 = %1").arg(bitText(phi2_)), phi2_);

    QPainterPath body;
    body.moveTo(left, top);
    body.lineTo(left + 40, top);
    body.arcTo(QRectF(left - 5, top, 90, 90), 90, -180);
    body.lineTo(left, bottom);
    body.closeSubpath();
    p.setPen(QPen(Qt::black, 1.5));
    p.setBrush(Qt::white);
    p.drawPath(body);
    p.setFont(look::font(true, look::kDigitPixels));
    p.drawText(QRectF(left, top, 60, bottom - top), Qt::AlignCenter, QStringLiteral("&"));

    const qreal outX = left + 85;
    const QRectF block(outX + 70, mid - 20, 60, 40);
    wires::drawWire(p, QPointF(outX, mid), QPointF(block.left() - 1, mid), out);
    wires::drawArrowHead(p, QPointF(outX, mid), QPointF(block.left() - 1, mid), out);
    wires::drawCaption(p, QPointF(outX + 6, mid - 6),
                       QStringLiteral("impulz = %1").arg(bitText(out)), out);
    p.setRenderHint(QPainter::Antialiasing, false);
    wires::drawBlock(p, block, targetBlock(gate_));
}

GateWindow::GateWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Hradlo AND – zápisové impulzy"),
        QStringLiteral("Hradla AND a takt Φ2"),
        QStringLiteral(
            "Zápisové signály z dekodéru URČENÍ (IR/W, PC/W, A/W, B/W) a signál PC/I nevedou do "
            "registrů přímo. Každý z nich prochází jedním z pěti hradel AND, jejichž druhým "
            "vstupem je fáze hodin Φ2. Hradlo AND dává na výstupu 1 jen tehdy, když jsou oba "
            "vstupy 1; jeho výstup je zápisový impulz, na který registr převezme sběrnici (nebo "
            "PC přičte 1). Klepněte na vstupy nebo tiskněte „takt“ a sledujte výstup."));

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
    auto* clock = new PanelButton(QStringLiteral("takt"), this);
    clock->setObjectName(QStringLiteral("pulse"));
    phaseLabel_ = new QLabel(this);
    phaseLabel_->setObjectName(QStringLiteral("phase"));
    inputs->addWidget(signalLamp_);
    inputs->addWidget(phi2Lamp_);
    inputs->addSpacing(16);
    inputs->addWidget(outputLamp_);
    inputs->addSpacing(16);
    inputs->addWidget(clock);
    inputs->addWidget(phaseLabel_);
    inputs->addStretch();
    layout->addLayout(inputs);
    connect(signalLamp_, &QAbstractButton::clicked, this, [this](bool on) {
        signal_ = on;
        refresh();
    });
    connect(phi2Lamp_, &QAbstractButton::clicked, this, [this](bool on) {
        // Phi2 is high only in the Phi2 state; switching it off returns the clock to rest.
        phase_ = on ? Phase::Phi2 : Phase::Rest;
        refresh();
    });
    connect(clock, &QPushButton::clicked, this, [this] { pulse(); });

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

    auto* why = new QLabel(QStringLiteral("Proč se zapisuje až v taktu Φ2?"), this);
    why->setFont(look::font(true));
    layout->addWidget(why);
    layout->addWidget(look::makeText(
        QStringLiteral(
            "Jeden mikrokrok trvá tři takty. Při vstupu do Φ1 řadič zvýší IR, dekóduje nový řádek "
            "mikroprogramu a zdroj začne vystavovat svou hodnotu na sběrnici. Řídicí signály i "
            "sběrnice se musí nejprve ustálit. Kdyby registr převzal sběrnici hned se signálem "
            "/W, mohl by uložit starou nebo ještě neustálenou hodnotu – a IR, který v Φ1 sám "
            "počítá, by si přepsal mikroadresu dřív, než jeho řádek doběhne. Hradlo AND proto "
            "propustí zápisový signál až v Φ2, kdy je hodnota na sběrnici hotová, a registr ji "
            "převezme právě v tu chvíli. Ve třetím taktu (klid) jsou impulzy opět 0, řídicí "
            "signály ale trvají až do dalšího Φ1."),
        this));
    layout->addStretch();

    chooseGate(0);
    look::fitToContents(this, 780);
}

void GateWindow::chooseGate(int gate) {
    gate_ = gate;
    if (QAbstractButton* button = gates_->button(gate)) button->setChecked(true);
    signalLamp_->setText(look::toQString(kStrobeGates[static_cast<std::size_t>(gate)].signalName));
    signalLamp_->updateGeometry();

    QStringList lines;
    for (int line : linesUsing(kStrobeGates[static_cast<std::size_t>(gate)].signal))
        lines << QStringLiteral("%1 (%2)").arg(look::binary(line),
                                               look::toQString(instructionOfLine(line)));
    usage_->setText(
        QStringLiteral("Impulz hradla %1: %2. Signál %1 %3.")
            .arg(look::toQString(kStrobeGates[static_cast<std::size_t>(gate)].signalName),
                 look::toQString(kStrobeGates[static_cast<std::size_t>(gate)].target),
                 look::switchedOnBy(lines.join(QStringLiteral(", ")),
                                    static_cast<std::size_t>(lines.size()))));
    refresh();
}

void GateWindow::pulse() {
    phase_ = nextPhase(phase_);
    refresh();
}

void GateWindow::refresh() {
    const bool phi2 = phi2High(phase_);
    signalLamp_->setChecked(signal_);
    phi2Lamp_->setChecked(phi2);
    outputLamp_->setChecked(andGate(signal_, phi2));
    phaseLabel_->setText(QStringLiteral("stav hodin: %1").arg(look::phaseName(phase_)));
    view_->setState(gate_, signal_, phi2);
    const int current = truthRow(signal_, phi2);
    for (std::size_t row = 0; row < table_.size(); ++row)
        for (QLabel* cell : table_[row]) look::setMarked(cell, static_cast<int>(row) == current);
}

} // namespace companion
