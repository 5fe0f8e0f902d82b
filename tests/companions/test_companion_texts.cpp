// Every text of the companion programs, read from their sources: one vocabulary with
// the diagram (phrasings a teacher of the subject would correct are refused), and
// every character has a glyph in the built-in font, regular and bold.

#include <QtTest>

#include <QDirIterator>
#include <QRawFont>

#include "picture/Text.h"

namespace {

struct Text {
    QString file;
    QString text;
};

// The string literals of every source file under the companions' folder; adjacent
// literals are joined, as the compiler joins them.
QList<Text> companionTexts() {
    static const QRegularExpression run(QStringLiteral(R"re(("(?:[^"\\\n]|\\.)*"\s*)+)re"));
    static const QRegularExpression literal(QStringLiteral(R"re("((?:[^"\\\n]|\\.)*)")re"));
    QList<Text> texts;
    QDirIterator files(QStringLiteral(COMPANIONS_SOURCE_DIR), {"*.cpp", "*.h"}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly)) continue;
        const QString source = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch& m : run.globalMatch(source)) {
            QString joined;
            for (const QRegularExpressionMatch& part : literal.globalMatch(m.captured()))
                joined += part.captured(1);
            joined.replace(QStringLiteral("\\n"), QStringLiteral(" "));
            texts.append({file.fileName(), joined});
        }
    }
    return texts;
}

QRawFont rawFont(std::span<const std::uint8_t> data) {
    return QRawFont(
        QByteArray(reinterpret_cast<const char*>(data.data()), static_cast<qsizetype>(data.size())),
        11);
}

} // namespace

class CompanionTexts : public QObject {
    Q_OBJECT
private slots:
    void textsKeepTheVocabulary_data() {
        QTest::addColumn<QString>("pattern");
        // "převzít sběrnici" is taking control of the bus, not its value.
        QTest::newRow("the bus's value")
            << QStringLiteral(R"(převz\w*\s+sběrnici|převezm\w*\s+sběrnici)");
        QTest::newRow("the unit's value on the bus") << QStringLiteral("vystaví svou jednotku");
        QTest::newRow("stiskněte") << QStringLiteral(R"((?<!s)tiskn)");
        QTest::newRow("MOV copies") << QStringLiteral(R"(přesu[nň])");
        QTest::newRow("Instrukční registr") << QStringLiteral("registr instrukce");
        // The block is PČ; only the signals PC/I and PC/W keep the letters of the listing.
        QTest::newRow("PČ") << QStringLiteral(R"(\bPC\b(?!/))");
        // A takt is one clock pulse; Φ1, Φ2 and klid are the clock's states.
        QTest::newRow("fáze, not takt") << QStringLiteral(R"([Tt]akt\w*\s+(Φ|klid))");
        QTest::newRow("řadič") << QStringLiteral("řídicí jednotk");
        QTest::newRow("mikroprogram instrukce") << QStringLiteral("rutin");
        QTest::newRow("vystaví") << QStringLiteral(R"(\bpust)");
        QTest::newRow("klikněte") << QStringLiteral("klepn");
        // A pulse is "hodinový impulz"; the line IR selects is "právě prováděný".
        QTest::newRow("hodinový impulz") << QStringLiteral(R"(\btakt)");
        QTest::newRow("právě prováděný řádek") << QStringLiteral(R"(platn\w*\s+řád)");
        // The decoders in running text in lower case; capitals only in the drawing.
        QTest::newRow("dekodér zdroje")
            << QStringLiteral(R"((?-i)[Dd]ekodér\w*\s+(ZDROJE|URČENÍ|PAMĚTI)|PAMĚTI vybral)");
        // The stepping button finishes the microstep under way.
        QTest::newRow("do konce mikrokroku") << QStringLiteral(R"(^celý mikrokrok$)");
        // No comma before an additive "a ten" or a non-exclusive "nebo".
        QTest::newRow("a ten") << QStringLiteral(R"(,\s+a\s+t[ea]\b)");
        QTest::newRow("nebo") << QStringLiteral(R"(,\s+nebo\b)");
        // The columns add at once; only the carry goes from the LSB up.
        QTest::newRow("columns at once") << QStringLiteral("po bitech od nejnižšího");
    }
    void textsKeepTheVocabulary() {
        QFETCH(QString, pattern);
        const QRegularExpression forbidden(pattern, QRegularExpression::CaseInsensitiveOption);
        const QList<Text> texts = companionTexts();
        QVERIFY(texts.size() > 100); // the sources were found
        for (const Text& t : texts)
            QVERIFY2(!forbidden.match(t.text).hasMatch(),
                     qPrintable(QStringLiteral("%1: %2").arg(t.file, t.text)));
    }

    void everyCharacterHasAGlyph() {
        const QRawFont regular = rawFont(procesor::render::squarePixelFont());
        const QRawFont bold = rawFont(procesor::render::squarePixelBoldFont());
        QVERIFY(regular.isValid() && bold.isValid());
        for (const Text& t : companionTexts())
            for (const QChar c : t.text)
                QVERIFY2(c.unicode() < 0x20 ||
                             (regular.supportsCharacter(c) && bold.supportsCharacter(c)),
                         qPrintable(QStringLiteral("%1: '%2' in %3").arg(t.file, c, t.text)));
    }
};

QTEST_MAIN(CompanionTexts)
#include "test_companion_texts.moc"
