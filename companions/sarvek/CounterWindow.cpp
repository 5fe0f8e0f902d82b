#include "companions/sarvek/CounterWindow.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include "companions/common/Look.h"
#include "companions/common/Widgets.h"
#include "companions/common/Wires.h"

namespace companion {

namespace {

QString name(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("IR") : QStringLiteral("PC");
}

QString writeName(CounterRole role) {
    return role == CounterRole::InstructionRegister ? QStringLiteral("IR/W")
                                                    : QStringLiteral("PC/W");
}

QString roleExplanation(CounterRole role) {
    if (role == CounterRole::InstructionRegister)
        return QStringLiteral(
            "IR, registr instrukce, je zároveň čítač mikroprogramu: jeho hodnota je číslo "
            "řádku, který řadič právě provádí. Při každém vstupu do taktu Φ1 se IR sám zvýší o 1 "
            "(čítací vstup je vodič Φ1), takže řadič jde na další řádek. Na konci každé rutiny "
            "řádek RAM/R-IR/W zapne IR/W a IR v taktu Φ2 převezme ze sběrnice operační kód další "
            "instrukce. Ten je o 1 menší než první řádek její rutiny, protože další Φ1 k němu "
            "ještě přičte 1.");
    return QStringLiteral(
        "PC, programový čítač, drží adresu v RAM, ze které se čte. Signál PC/I z řádků "
        "PC/I ho v taktu Φ2 zvýší o 1, takže procesor čte další slovo programu. "
        "Instrukce JMP zapne na řádku RAM/R-PC/W signál PC/W a PC v taktu Φ2 převezme ze "
        "sběrnice cílovou adresu – tak se skáče.");
}

} // namespace

CounterView::CounterView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("counterView"));
    setMinimumSize(300, 170);
}

void CounterView::setState(CounterRole role, int value, int bus, CounterAction action) {
    role_ = role;
    value_ = value;
    bus_ = bus;
    action_ = action;
    update();
}

void CounterView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRectF block(130, 60, 110, 56);
    wires::drawCaption(p, QPointF(150, 12), QStringLiteral("sběrnice = %1").arg(bus_), false);
    wires::drawWord(p, QPointF(170, 18), QPointF(170, block.top() - 1), bus_, 8);
    wires::drawBlock(p, block,
                     QStringLiteral("%1\n%2")
                         .arg(name(role_))
                         .arg(QStringLiteral("%1").arg(value_, 4, 2, QLatin1Char('0'))));

    const qreal loadY = block.top() + 16, countY = block.bottom() - 16;
    wires::drawWire(p, QPointF(10, loadY), QPointF(block.left() - 1, loadY), action_.load);
    wires::drawArrowHead(p, QPointF(10, loadY), QPointF(block.left() - 1, loadY), action_.load);
    wires::drawCaption(p, QPointF(12, loadY - 5),
                       QStringLiteral("načíst (%1 · Φ2)").arg(writeName(role_)), action_.load);
    wires::drawWire(p, QPointF(10, countY), QPointF(block.left() - 1, countY), action_.count);
    wires::drawArrowHead(p, QPointF(10, countY), QPointF(block.left() - 1, countY), action_.count);
    wires::drawCaption(p, QPointF(12, countY - 5),
                       role_ == CounterRole::InstructionRegister ? QStringLiteral("+1 (Φ1)")
                                                                 : QStringLiteral("+1 (PC/I · Φ2)"),
                       action_.count);

    const QString output = role_ == CounterRole::InstructionRegister
                               ? QStringLiteral("mikroadresa do řadiče")
                               : QStringLiteral("adresa do RAM");
    wires::drawWord(p, QPointF(170, block.bottom() + 1), QPointF(170, block.bottom() + 36), value_,
                    8);
    wires::drawCaption(p, QPointF(210, block.bottom() + 26), output);
}

CounterWindow::CounterWindow(QWidget* parent) : QWidget(parent) {
    QVBoxLayout* layout = look::frameWindow(
        this, QStringLiteral("Čítací registry IR a PC"),
        QStringLiteral("Čítací registr: načtení ze sběrnice a počítání"),
        QStringLiteral(
            "IR i PC jsou čítací registry. Umějí dvě věci: převzít čtyřbitové slovo ze sběrnice "
            "(načtení), nebo ke své hodnotě přičíst 1 (počítání). Počítá se ve čtyřech bitech, "
            "takže po 15 (1111) následuje 0 (0000) – čítač přeteče a začne znovu od nuly. "
            "Zkuste obojí: nastavte sběrnici a načtěte ji, nebo nastavte registr na 15 a přičtěte "
            "1. Tlačítkem „takt“ můžete registr ovládat i po taktech jako v procesoru."));

    auto* chooser = new QHBoxLayout;
    roles_ = new QButtonGroup(this);
    auto* ir = new PanelButton(QStringLiteral("IR – registr instrukce"), this);
    ir->setObjectName(QStringLiteral("roleIR"));
    auto* pc = new PanelButton(QStringLiteral("PC – programový čítač"), this);
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
    auto* controls = new QGridLayout;
    controls->setHorizontalSpacing(8);
    const auto bold = [this](const QString& text) {
        auto* label = new QLabel(text, this);
        label->setFont(look::font(true));
        return label;
    };
    value_ = new BitToggle(this);
    value_->setObjectName(QStringLiteral("register"));
    bus_ = new BitToggle(this);
    bus_->setObjectName(QStringLiteral("bus"));
    controls->addWidget(bold(QStringLiteral("hodnota registru")), 0, 0);
    controls->addWidget(value_, 0, 1, Qt::AlignLeft);
    controls->addWidget(bold(QStringLiteral("sběrnice")), 1, 0);
    controls->addWidget(bus_, 1, 1, Qt::AlignLeft);

    auto* direct = new QHBoxLayout;
    auto* load = new PanelButton(QStringLiteral("načíst ze sběrnice"), this);
    load->setObjectName(QStringLiteral("load"));
    auto* count = new PanelButton(QStringLiteral("přičíst 1"), this);
    count->setObjectName(QStringLiteral("count"));
    direct->addWidget(load);
    direct->addWidget(count);
    direct->addStretch();
    controls->addLayout(direct, 2, 0, 1, 2);

    auto* clocked = new QHBoxLayout;
    write_ = new SignalLamp(QString(), this);
    write_->setObjectName(QStringLiteral("write"));
    count_ = new SignalLamp(QStringLiteral("PC/I"), this);
    count_->setObjectName(QStringLiteral("pcInc"));
    auto* clock = new PanelButton(QStringLiteral("takt"), this);
    clock->setObjectName(QStringLiteral("pulse"));
    phaseLabel_ = new QLabel(this);
    clocked->addWidget(write_);
    clocked->addWidget(count_);
    clocked->addWidget(clock);
    clocked->addWidget(phaseLabel_);
    clocked->addStretch();
    controls->addLayout(clocked, 3, 0, 1, 2);
    controls->setRowStretch(4, 1);
    body->addLayout(controls);

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
            [this] { act({.load = true, .count = false}, QStringLiteral("Načtení")); });
    connect(count, &QPushButton::clicked, this,
            [this] { act({.load = false, .count = true}, QStringLiteral("Počítání")); });
    connect(write_, &QAbstractButton::clicked, this, [this] { refresh(); });
    connect(count_, &QAbstractButton::clicked, this, [this] { refresh(); });
    connect(clock, &QPushButton::clicked, this, [this] { pulse(); });

    chooseRole(CounterRole::ProgramCounter);
    look::fitToContents(this, 780);
}

void CounterWindow::chooseRole(CounterRole role) {
    role_ = role;
    roles_->button(static_cast<int>(role))->setChecked(true);
    roleText_->setText(roleExplanation(role));
    write_->setText(writeName(role));
    write_->setChecked(false);
    write_->updateGeometry();
    // IR counts from the Phi1 line itself; PC/I belongs to PC only.
    count_->setVisible(role == CounterRole::ProgramCounter);
    count_->setChecked(false);
    phase_ = Phase::Rest;
    last_ = {};
    result_->clear();
    refresh();
}

void CounterWindow::pulse() {
    phase_ = nextPhase(phase_);
    const CounterAction action =
        counterAction(role_, phase_, write_->isChecked(), count_->isChecked());
    act(action, QStringLiteral("Takt %1").arg(look::phaseName(phase_)));
}

void CounterWindow::act(CounterAction action, const QString& how) {
    const int before = register_.value();
    const bool wraps =
        action.count && countWraps(counterNext(before, bus_->value(), {action.load, false}));
    const int after = counterNext(before, bus_->value(), action);
    register_.set(after);
    last_ = action;

    QString text = QStringLiteral("%1: ").arg(how);
    if (action.load)
        text += QStringLiteral("%1 převzal ze sběrnice %2").arg(name(role_)).arg(bus_->value());
    if (action.load && action.count) text += QStringLiteral(", pak ");
    if (action.count) {
        const int from = action.load ? bus_->value() : before;
        text += QStringLiteral("%1 + 1 = %2").arg(from).arg(after);
        if (wraps) text += QStringLiteral(" – přetečení: po 15 následuje 0, čítá se modulo 16");
    }
    if (!action.load && !action.count)
        text += QStringLiteral("žádný impulz, %1 drží %2").arg(name(role_)).arg(before);
    result_->setText(text + QStringLiteral("."));
    refresh();
}

void CounterWindow::refresh() {
    value_->setValue(register_.value());
    phaseLabel_->setText(QStringLiteral("stav hodin: %1").arg(look::phaseName(phase_)));
    view_->setState(role_, register_.value(), bus_->value(), last_);
}

} // namespace companion
