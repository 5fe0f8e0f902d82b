#include "companions/sarvek/CounterWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"

namespace companion {

namespace {

QString name(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("IR") : QStringLiteral("PČ");
}

QString writeName(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("IR/W")
                                                    : QStringLiteral("PC/W");
}

QString roleExplanation(std::optional<CounterRole> role) {
    if (!role)
        return QStringLiteral(
            "Vyberte registr: IR (Instrukční registr), nebo PČ (Programový čítač).");
    if (*role == CounterRole::InstructionRegister)
        return QStringLiteral(
            "IR, Instrukční registr, je zároveň čítač mikroprogramu: jeho hodnota je mikroadresa, "
            "číslo řádku mikroprogramu, který řadič právě provádí. Při každém vstupu do fáze Φ1 "
            "se IR sám zvýší o 1 (jeho čítací vstup je vodič Φ1), takže řadič přejde na další "
            "řádek. Na konci mikroprogramu každé instrukce zapne řádek RAM/R-IR/W signál IR/W a "
            "IR ve fázi Φ2 převezme ze sběrnice operační kód další instrukce. Ten je o 1 menší "
            "než první řádek jejího mikroprogramu, protože další fáze Φ1 k němu ještě přičte 1.");
    return QStringLiteral(
        "PČ, Programový čítač, drží adresu v RAM, ze které se čte. Řádky mikroprogramu PC/I "
        "zapnou signál PC/I a ten ve fázi Φ2 zvýší PČ o 1, takže procesor čte další slovo "
        "programu. Instrukce JMP zapne na řádku RAM/R-PC/W signál PC/W a PČ ve fázi Φ2 "
        "převezme ze sběrnice cílovou adresu – tak se skáče.");
}

QString loadCaption(CounterRole role) {
    return QStringLiteral("převzít (%1 · Φ2)").arg(writeName(role));
}

QString countCaption(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("+1 (Φ1)")
                                                    : QStringLiteral("+1 (PC/I · Φ2)");
}

QString outputCaption(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("mikroadresa do řadiče")
                                                    : QStringLiteral("adresa do RAM");
}

constexpr CounterRole kRoles[] = {CounterRole::InstructionRegister, CounterRole::ProgramCounter};

} // namespace

CounterView::CounterView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("counterView"));
    // Room for the longest caption of either register, whatever the window's width.
    const QFontMetrics metrics(look::font(true));
    int inputs = 0, output = 0;
    for (const CounterRole role : kRoles) {
        inputs = std::max({inputs, metrics.horizontalAdvance(loadCaption(role)),
                           metrics.horizontalAdvance(countCaption(role))});
        output = std::max(output, metrics.horizontalAdvance(outputCaption(role)));
    }
    blockLeft_ = 12 + inputs + 16;
    setMinimumSize(blockLeft_ + kOutputCaptionX + output + 8, 170);
}

void CounterView::setState(std::optional<CounterRole> role, int value, int bus,
                           CounterAction action) {
    role_ = role;
    value_ = value;
    bus_ = bus;
    action_ = action;
    update();
}

void CounterView::paintEvent(QPaintEvent*) {
    if (!role_) return; // nothing to show before a register is chosen
    const CounterRole role = *role_;
    QPainter p(this);
    const QRectF block(blockLeft_, 60, 110, 56);
    const qreal busX = block.left() + 40;
    wires::drawCaption(p, QPointF(busX - 20, 12), QStringLiteral("sběrnice = %1").arg(bus_), false);
    wires::drawWord(p, QPointF(busX, 18), QPointF(busX, block.top() - 1), bus_, 8);
    wires::drawBlock(p, block, QStringLiteral("%1\n%2").arg(name(role), look::binary(value_)));

    const qreal loadY = block.top() + 16, countY = block.bottom() - 16;
    wires::drawWire(p, QPointF(10, loadY), QPointF(block.left() - 1, loadY), action_.load);
    wires::drawArrowHead(p, QPointF(10, loadY), QPointF(block.left() - 1, loadY), action_.load);
    wires::drawCaption(p, QPointF(12, loadY - 5), loadCaption(role), action_.load);
    wires::drawWire(p, QPointF(10, countY), QPointF(block.left() - 1, countY), action_.count);
    wires::drawArrowHead(p, QPointF(10, countY), QPointF(block.left() - 1, countY), action_.count);
    wires::drawCaption(p, QPointF(12, countY - 5), countCaption(role), action_.count);

    wires::drawWord(p, QPointF(busX, block.bottom() + 1), QPointF(busX, block.bottom() + 36),
                    value_, 8);
    wires::drawCaption(p, QPointF(block.left() + kOutputCaptionX, block.bottom() + 26),
                       outputCaption(role));
}

CounterWindow::CounterWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Čítací registry IR a PČ"),
        QStringLiteral("Čítací registr: převzetí hodnoty ze sběrnice a počítání"),
        QStringLiteral(
            "IR i PČ jsou čítací registry. Umějí dvě věci: převzít čtyřbitovou hodnotu ze "
            "sběrnice, nebo ke své hodnotě přičíst 1 (počítání). Počítá se ve čtyřech bitech, "
            "takže po 15 (1111) následuje 0 (0000) – čítač přeteče a začne znovu od nuly. "
            "Zkuste obojí: nastavte sběrnici a převezměte její hodnotu, nebo nastavte registr "
            "na 15 a přičtěte 1. Tlačítkem „takt“ můžete registr ovládat i po taktech jako "
            "v procesoru."));

    auto* chooser = new QHBoxLayout;
    roles_ = new QButtonGroup(this);
    auto* ir = new PanelButton(QStringLiteral("IR  Instrukční registr"), this);
    ir->setObjectName(QStringLiteral("roleIR"));
    auto* pc = new PanelButton(QStringLiteral("PČ  Programový čítač"), this);
    pc->setObjectName(QStringLiteral("rolePC"));
    for (PanelButton* button : {ir, pc}) {
        button->setCheckable(true);
        chooser->addWidget(button);
    }
    roles_->addButton(ir, static_cast<int>(CounterRole::InstructionRegister));
    roles_->addButton(pc, static_cast<int>(CounterRole::ProgramCounter));
    chooser->addStretch();
    layout->addLayout(chooser);
    connect(roles_, &QButtonGroup::idClicked, this,
            [this](int role) { chooseRole(static_cast<CounterRole>(role)); });

    roleText_ = look::makeText(QString(), this);
    roleText_->setObjectName(QStringLiteral("roleText"));
    layout->addWidget(roleText_);

    auto* body = new QHBoxLayout;
    controls_ = new QWidget(this);
    auto* controls = new QGridLayout(controls_);
    controls->setContentsMargins(0, 0, 0, 0);
    controls->setHorizontalSpacing(8);
    const auto bold = [this](const QString& text) {
        auto* label = new QLabel(text, controls_);
        label->setFont(look::font(true));
        return label;
    };
    value_ = new BitToggle(controls_);
    value_->setObjectName(QStringLiteral("register"));
    bus_ = new BitToggle(controls_);
    bus_->setObjectName(QStringLiteral("bus"));
    controls->addWidget(bold(QStringLiteral("hodnota registru")), 0, 0);
    controls->addWidget(value_, 0, 1, Qt::AlignLeft);
    controls->addWidget(bold(QStringLiteral("sběrnice")), 1, 0);
    controls->addWidget(bus_, 1, 1, Qt::AlignLeft);

    auto* direct = new QHBoxLayout;
    auto* load = new PanelButton(QStringLiteral("převzít ze sběrnice"), controls_);
    load->setObjectName(QStringLiteral("load"));
    auto* count = new PanelButton(QStringLiteral("přičíst 1"), controls_);
    count->setObjectName(QStringLiteral("count"));
    direct->addWidget(load);
    direct->addWidget(count);
    direct->addStretch();
    controls->addLayout(direct, 2, 0, 1, 2);

    auto* clocked = new QHBoxLayout;
    write_ = new SignalLamp(QStringLiteral("IR/W"), controls_);
    write_->setObjectName(QStringLiteral("write"));
    count_ = new SignalLamp(QStringLiteral("PC/I"), controls_);
    count_->setObjectName(QStringLiteral("pcInc"));
    auto* clock = new PanelButton(QStringLiteral("takt"), controls_);
    clock->setObjectName(QStringLiteral("pulse"));
    phaseLabel_ = new QLabel(controls_);
    clocked->addWidget(write_);
    clocked->addWidget(count_);
    clocked->addWidget(clock);
    clocked->addWidget(phaseLabel_);
    clocked->addStretch();
    controls->addLayout(clocked, 3, 0, 1, 2);
    controls->setRowStretch(4, 1);
    body->addWidget(controls_, 0, Qt::AlignTop);

    view_ = new CounterView(this);
    body->addWidget(view_);
    body->addStretch();
    layout->addLayout(body);

    result_ = new QLabel(this);
    result_->setObjectName(QStringLiteral("result"));
    result_->setFont(look::font(true));
    result_->setWordWrap(true);
    result_->setMinimumHeight(30);
    layout->addWidget(result_);
    layout->addStretch();

    connect(value_, &BitToggle::valueChanged, this, [this](int value) {
        if (value == register_.value()) return; // shown after a load or count
        register_.set(value);
        last_ = {};
        refresh();
    });
    connect(bus_, &BitToggle::valueChanged, this, [this] { refresh(); });
    connect(load, &QPushButton::clicked, this,
            [this] { act({.load = true, .count = false}, QStringLiteral("Převzetí")); });
    connect(count, &QPushButton::clicked, this,
            [this] { act({.load = false, .count = true}, QStringLiteral("Počítání")); });
    connect(write_, &QAbstractButton::clicked, this, [this] { refresh(); });
    connect(count_, &QAbstractButton::clicked, this, [this] { refresh(); });
    connect(clock, &QPushButton::clicked, this, [this] { pulse(); });

    refresh();
    look::fitToContents(this, 780);
}

void CounterWindow::chooseRole(CounterRole role) {
    role_ = role;
    roles_->button(static_cast<int>(role))->setChecked(true);
    write_->setText(writeName(role));
    write_->setChecked(false);
    write_->updateGeometry();
    // IR counts from the Phi1 line itself; PC/I belongs to PČ only.
    count_->setVisible(role == CounterRole::ProgramCounter);
    count_->setChecked(false);
    phase_ = Phase::Rest;
    last_ = {};
    result_->clear();
    refresh();
}

void CounterWindow::pulse() {
    if (!role_) return;
    phase_ = nextPhase(phase_);
    const CounterAction action =
        counterAction(*role_, phase_, write_->isChecked(), count_->isChecked());
    act(action, QStringLiteral("Takt – %1").arg(look::stateName(phase_)));
}

void CounterWindow::act(CounterAction action, const QString& how) {
    if (!role_) return;
    const QString reg = name(*role_);
    const int before = register_.value();
    const bool wraps =
        action.count && countWraps(counterNext(before, bus_->value(), {action.load, false}));
    const int after = counterNext(before, bus_->value(), action);
    register_.set(after);
    last_ = action;

    QString text = QStringLiteral("%1: ").arg(how);
    if (action.load)
        text += QStringLiteral("%1 převzal hodnotu %2 ze sběrnice").arg(reg).arg(bus_->value());
    if (action.load && action.count) text += QStringLiteral(", pak ");
    if (action.count) {
        const int from = action.load ? bus_->value() : before;
        text += QStringLiteral("%1 + 1 = %2").arg(from).arg(after);
        if (wraps) text += QStringLiteral(" – přetečení: po 15 následuje 0, čítá se modulo 16");
    }
    if (!action.load && !action.count) {
        if (phase_ == Phase::Phi2)
            text += QStringLiteral("zápisový impulz nepřišel, %1 drží %2").arg(reg).arg(before);
        else if (phase_ == Phase::Phi1)
            text += QStringLiteral("%1 drží %2; převzít hodnotu nebo přičíst 1 může až ve fázi Φ2")
                        .arg(reg)
                        .arg(before);
        else
            text += QStringLiteral("%1 drží %2").arg(reg).arg(before);
    }
    result_->setText(text + QStringLiteral("."));
    refresh();
}

void CounterWindow::refresh() {
    roleText_->setText(roleExplanation(role_));
    controls_->setEnabled(role_.has_value());
    value_->setValue(register_.value());
    phaseLabel_->setText(QStringLiteral("hodiny: %1").arg(look::stateName(phase_)));
    view_->setState(role_, register_.value(), bus_->value(), last_);
}

} // namespace companion
