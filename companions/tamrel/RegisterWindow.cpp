#include "companions/tamrel/RegisterWindow.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"
#include "companions/vondrel/ControlUnit.h"
#include "model/Microprogram.h"

namespace companion {

namespace {

QString letter(RegisterName name) {
    return name == RegisterName::A ? QStringLiteral("A") : QStringLiteral("B");
}
QString writeName(RegisterName name) {
    return letter(name) + QStringLiteral("/W");
}
// The register's block as the diagram titles it.
QString blockName(RegisterName name) {
    return QStringLiteral("R") + letter(name);
}
// "Fáze Φ1", "Klid": a clock state at the start of a sentence.
QString stateAtStart(Phase phase) {
    QString state = look::stateName(phase);
    state[0] = state[0].toUpper();
    return state;
}

// "0011 RAM/R-A/W (LDA), 0110 ADD/R-A/W (ADD)"
QString lineList(const std::vector<int>& lines) {
    QStringList parts;
    for (int line : lines)
        parts << QStringLiteral("%1 (%2)").arg(
            look::toQString(procesor::kMicroprogram[static_cast<std::size_t>(line)].caption)
                .trimmed(),
            look::toQString(instructionOfLine(line)));
    return parts.join(QStringLiteral(", "));
}

QString explanation(RegisterName name) {
    const QString common =
        QStringLiteral(
            "Registr %1 uchovává jedno čtyřbitové slovo. Novou hodnotu ze sběrnice převezme jen "
            "při zápisovém impulzu, tedy když je zapnutý signál %2 a zároveň je fáze Φ2 "
            "(hradlo AND). Ve fázi Φ1 a v klidu drží svou hodnotu, ať je na sběrnici cokoli. "
            "Signál %2 %3.\n")
            .arg(letter(name), writeName(name),
                 look::switchedOnBy(lineList(linesWriting(name)), linesWriting(name).size()));
    if (name == RegisterName::A)
        return common +
               QStringLiteral(
                   "Výstup registru A vede stále do sčítačky. Na sběrnici vystaví registr A "
                   "svou hodnotu jen se signálem A/R, a ten zapíná jediný řádek %1: instrukce "
                   "MOV tak zkopíruje hodnotu A do B.")
                   .arg(lineList(linesReading(name)));
    return common +
           QStringLiteral("Výstup registru B vede jen do sčítačky; na sběrnici se hodnota B "
                          "dostat nemůže, signál B/R neexistuje. Chcete-li do B dostat číslo, "
                          "uložte ho nejprve instrukcí LDA do registru A; instrukce MOV ho pak "
                          "zkopíruje do B.");
}

} // namespace

RegisterView::RegisterView(RegisterName name, QWidget* parent) : QWidget(parent), name_(name) {
    setObjectName(QStringLiteral("registerView"));
    setMinimumSize(340, 200);
}

void RegisterView::setState(int value, int bus, bool strobe, bool readSignal) {
    value_ = value;
    bus_ = bus;
    strobe_ = strobe;
    read_ = readSignal;
    update();
}

void RegisterView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    // The bus runs along the top, weight 8 uppermost.
    wires::drawWord(p, QPointF(330, 14), QPointF(10, 14), bus_, 6);
    wires::drawCaption(p, QPointF(12, 48), QStringLiteral("sběrnice = %1").arg(bus_));

    const QRectF block(100, 72, 100, 46);
    wires::drawTaps(p, QPointF(330, 14), 122, block.top() - 1, bus_, 6);
    wires::drawBlock(p, block,
                     QStringLiteral("%1\n%2").arg(blockName(name_), look::binary(value_)));

    const qreal strobeY = block.center().y();
    wires::drawWire(p, QPointF(10, strobeY), QPointF(block.left() - 1, strobeY), strobe_);
    wires::drawArrowHead(p, QPointF(10, strobeY), QPointF(block.left() - 1, strobeY), strobe_);
    wires::drawCaption(p, QPointF(12, strobeY - 6), QStringLiteral("%1 · Φ2").arg(writeName(name_)),
                       strobe_);

    const QRectF adder(90, 164, 120, 28);
    wires::drawWord(p, QPointF(122, block.bottom() + 1), QPointF(122, adder.top() - 1), value_, 6);
    wires::drawBlock(p, adder, QStringLiteral("sčítačka (ADD)"));

    if (name_ == RegisterName::A) {
        const QRectF gate(262, 70, 50, 30);
        wires::drawWord(p, QPointF(block.right() + 1, gate.top() + 6),
                        QPointF(gate.left() - 1, gate.top() + 6), value_, 6);
        p.save();
        p.setPen(QPen(read_ ? look::signal() : QColor(Qt::black), read_ ? 2 : 1));
        p.setBrush(Qt::white);
        p.drawRect(gate);
        p.setFont(look::font(true));
        p.drawText(gate, Qt::AlignCenter, QStringLiteral("A/R"));
        p.restore();
        wires::drawTaps(p, QPointF(330, 14), 278, gate.top() - 1, read_ ? value_ : 0, 6);
    } else {
        wires::drawCaption(p, QPointF(block.right() + 12, block.center().y() + 4),
                           QStringLiteral("na sběrnici nevede"));
    }
}

RegisterWindow::RegisterWindow(RegisterName name, QWidget* parent)
    : QWidget(parent), register_(name) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Registr %1").arg(letter(name)),
        name == RegisterName::A
            ? QStringLiteral("Registr A: převzetí ze sběrnice a vystavení na sběrnici")
            : QStringLiteral("Registr B: převzetí ze sběrnice, výstup do sčítačky"),
        explanation(name));

    auto* body = new QHBoxLayout;
    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(8);
    const auto bold = [this](const QString& caption) {
        auto* label = new QLabel(caption, this);
        label->setFont(look::font(true));
        return label;
    };
    bus_ = new BitToggle(this);
    bus_->setObjectName(QStringLiteral("bus"));
    bus_->setValue(5);
    value_ = new BitToggle(this);
    value_->setObjectName(QStringLiteral("register"));
    value_->setInteractive(false);
    controls->addWidget(bold(QStringLiteral("sběrnice")), 0, 0);
    controls->addWidget(bus_, 0, 1, Qt::AlignLeft);
    controls->addWidget(bold(QStringLiteral("registr %1").arg(letter(name))), 1, 0);
    controls->addWidget(value_, 1, 1, Qt::AlignLeft);

    auto* lines = new QHBoxLayout;
    write_ = new SignalLamp(writeName(name), this);
    write_->setObjectName(QStringLiteral("write"));
    lines->addWidget(write_);
    if (name == RegisterName::A) {
        read_ = new SignalLamp(QStringLiteral("A/R"), this);
        read_->setObjectName(QStringLiteral("read"));
        lines->addWidget(read_);
        connect(read_, &QAbstractButton::clicked, this, [this](bool on) { setRead(on); });
    }
    strobe_ = new SignalLamp(QStringLiteral("impulz"), this);
    strobe_->setObjectName(QStringLiteral("strobe"));
    strobe_->setInteractive(false);
    lines->addWidget(strobe_);
    lines->addStretch();
    controls->addLayout(lines, 2, 0, 1, 2);

    auto* clock = new QHBoxLayout;
    auto* pulse = new PanelButton(QStringLiteral("takt"), this);
    pulse->setObjectName(QStringLiteral("pulse"));
    auto* step = new PanelButton(QStringLiteral("celý mikrokrok"), this);
    step->setObjectName(QStringLiteral("microstep"));
    phaseLabel_ = new QLabel(this);
    clock->addWidget(pulse);
    clock->addWidget(step);
    clock->addWidget(phaseLabel_);
    clock->addStretch();
    controls->addLayout(clock, 3, 0, 1, 2);

    adderLabel_ = new QLabel(this);
    adderLabel_->setObjectName(QStringLiteral("toAdder"));
    controls->addWidget(adderLabel_, 4, 0, 1, 2);
    controls->setRowStretch(5, 1);
    body->addLayout(controls);

    view_ = new RegisterView(name, this);
    body->addWidget(view_);
    body->addStretch();
    layout->addLayout(body);

    result_ = new QLabel(QStringLiteral("Nastavte sběrnici, zapněte %1 a stiskněte „takt“: registr "
                                        "převezme hodnotu ze sběrnice až ve fázi Φ2.")
                             .arg(writeName(name)),
                         this);
    result_->setObjectName(QStringLiteral("result"));
    result_->setFont(look::font(true));
    result_->setWordWrap(true);
    result_->setMinimumHeight(30);
    layout->addWidget(result_);
    layout->addStretch();

    connect(bus_, &BitToggle::valueChanged, this, [this] { refresh(); });
    connect(write_, &QAbstractButton::clicked, this, [this](bool on) {
        // The text follows the switch, so it never tells of a strobe no longer there.
        describe(register_.setWriteSignal(on, bus_->value()));
        refresh();
    });
    connect(pulse, &QPushButton::clicked, this, [this] { this->pulse(); });
    connect(step, &QPushButton::clicked, this, [this] { microstep(); });
    refresh();
    look::fitToContents(this, 780);
}

void RegisterWindow::pulse() {
    const bool aRead = read_ && read_->isChecked();
    // A drives the bus through A/R in every state of the microstep.
    if (auto drive = busDrive(register_.name(), aRead, register_.value())) bus_->setValue(*drive);
    const bool loaded = register_.pulse(bus_->value(), write_->isChecked());
    if (auto drive = busDrive(register_.name(), aRead, register_.value())) bus_->setValue(*drive);
    describe(loaded);
    refresh();
}

void RegisterWindow::microstep() {
    bool loaded = false;
    do {
        pulse();
        loaded = loaded || register_.strobe();
    } while (register_.phase() != Phase::Rest);
    const QString reg = letter(register_.name());
    if (loaded)
        result_->setText(QStringLiteral("Celý mikrokrok (fáze Φ1, fáze Φ2, klid): ve fázi Φ2 dalo "
                                        "hradlo AND zápisový impulz a registr %1 převzal hodnotu "
                                        "%2 ze sběrnice.")
                             .arg(reg)
                             .arg(register_.value()));
    else
        result_->setText(QStringLiteral("Celý mikrokrok (fáze Φ1, fáze Φ2, klid): %1 = 0, "
                                        "zápisový impulz nepřišel a registr %2 drží %3.")
                             .arg(writeName(register_.name()), reg)
                             .arg(register_.value()));
}

void RegisterWindow::setRead(bool on) {
    if (auto drive = busDrive(register_.name(), on, register_.value())) bus_->setValue(*drive);
    // While A drives the bus it cannot be set by hand; afterwards it keeps the value.
    bus_->setInteractive(!on);
    refresh();
}

void RegisterWindow::describe(bool loaded) {
    const QString reg = letter(register_.name());
    const QString state = stateAtStart(register_.phase());
    if (loaded)
        result_->setText(
            QStringLiteral("%1: %2 = 1 a Φ2 = 1, hradlo AND dá zápisový impulz: registr %3 převzal "
                           "hodnotu %4 ze sběrnice.")
                .arg(state, writeName(register_.name()), reg)
                .arg(register_.value()));
    else if (register_.phase() == Phase::Phi2 && !register_.strobe())
        result_->setText(
            QStringLiteral("%1: %2 = 0, hradlo AND nedá zápisový impulz: registr %3 drží %4.")
                .arg(state, writeName(register_.name()), reg)
                .arg(register_.value()));
    else if (register_.phase() == Phase::Phi2)
        result_->setText(QStringLiteral("%1: zápisový impulz trvá, registr %2 drží %3.")
                             .arg(state, reg)
                             .arg(register_.value()));
    else
        result_->setText(QStringLiteral("%1: Φ2 = 0, žádný zápisový impulz: registr %2 drží %3.")
                             .arg(state, reg)
                             .arg(register_.value()));
}

void RegisterWindow::refresh() {
    value_->setValue(register_.value());
    strobe_->setChecked(register_.strobe());
    phaseLabel_->setText(QStringLiteral("hodiny: %1").arg(look::stateName(register_.phase())));
    adderLabel_->setText(QStringLiteral("do sčítačky vede stále: %1").arg(register_.value()));
    view_->setState(register_.value(), bus_->value(), register_.strobe(),
                    read_ && read_->isChecked());
}

} // namespace companion
