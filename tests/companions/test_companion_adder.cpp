// The adder companion: the sum, the carries column by column and the lost carry.

#include <QtTest>

#include "companions/quobin/Adder.h"

using companion::add;
using companion::Addition;

namespace {

// Bit i set when column i carries into column i + 1 (or, for bit 3, out of the word).
int carryMask(const Addition& r) {
    int mask = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (r.bits[static_cast<std::size_t>(bit)].carryOut) mask |= 1 << bit;
    return mask;
}

int sumFromColumns(const Addition& r) {
    int sum = 0;
    for (int bit = 0; bit < 4; ++bit)
        if (r.bits[static_cast<std::size_t>(bit)].sum) sum |= 1 << bit;
    return sum;
}

} // namespace

class AdderCompanion : public QObject {
    Q_OBJECT
private slots:
    void sumsAndCarries_data() {
        QTest::addColumn<int>("a");
        QTest::addColumn<int>("b");
        QTest::addColumn<int>("sum");
        QTest::addColumn<bool>("carryOut");
        QTest::addColumn<int>("carries");
        QTest::newRow("10 + 8 wraps to 2") << 10 << 8 << 2 << true << 0b1000;
        QTest::newRow("15 + 1 ripples through every column") << 15 << 1 << 0 << true << 0b1111;
        QTest::newRow("15 + 15") << 15 << 15 << 14 << true << 0b1111;
        QTest::newRow("8 + 8") << 8 << 8 << 0 << true << 0b1000;
        QTest::newRow("5 + 5 carries in two columns") << 5 << 5 << 10 << false << 0b0101;
        QTest::newRow("7 + 1 carries up to bit 3") << 7 << 1 << 8 << false << 0b0111;
        QTest::newRow("3 + 12 needs no carry") << 3 << 12 << 15 << false << 0b0000;
        QTest::newRow("0 + 0") << 0 << 0 << 0 << false << 0b0000;
        QTest::newRow("inputs are 4-bit words: 18 + 1 is 2 + 1") << 18 << 1 << 3 << false << 0b0000;
    }
    void sumsAndCarries() {
        QFETCH(int, a);
        QFETCH(int, b);
        QFETCH(int, sum);
        QFETCH(bool, carryOut);
        QFETCH(int, carries);
        const Addition r = add(a, b);
        QCOMPARE(r.sum, sum);
        QCOMPARE(r.carryOut, carryOut);
        QCOMPARE(carryMask(r), carries);
        QCOMPARE(sumFromColumns(r), sum);
    }

    // Every pair of words against plain arithmetic: the sum modulo 16, each column's
    // carry as the overflow of the low bits, and the carry chain from column to column.
    void everyPairAgreesWithArithmetic() {
        for (int a = 0; a < 16; ++a) {
            for (int b = 0; b < 16; ++b) {
                const Addition r = add(a, b);
                QCOMPARE(r.sum, (a + b) % 16);
                QCOMPARE(r.exact, a + b);
                QCOMPARE(r.carryOut, a + b > 15);
                QVERIFY(!r.bits[0].carryIn);
                for (int bit = 0; bit < 4; ++bit) {
                    const auto& column = r.bits[static_cast<std::size_t>(bit)];
                    const int low = (1 << (bit + 1)) - 1;
                    QCOMPARE(column.a, ((a >> bit) & 1) == 1);
                    QCOMPARE(column.b, ((b >> bit) & 1) == 1);
                    QCOMPARE(column.carryOut, (a & low) + (b & low) > low);
                    if (bit > 0)
                        QCOMPARE(column.carryIn,
                                 r.bits[static_cast<std::size_t>(bit - 1)].carryOut);
                }
            }
        }
    }
};

QTEST_APPLESS_MAIN(AdderCompanion)
#include "test_companion_adder.moc"
