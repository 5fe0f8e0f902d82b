// Starting the companion programs: the right program, once per start, without
// arguments; beside the simulator first, then on absolute entries of the search path;
// never from the current directory; a missing program is ignored.

#include <QtTest>

#include <set>

#include "display/CompanionLauncher.h"

using procesor::ProcessLauncher;

namespace {

const QStringList kPrograms = {"vondrel", "plimo", "sarvek", "quobin", "tamrelA", "tamrelB"};
constexpr int kStartTimeoutMs = 10000;
// How long to watch for a start that must not happen.
constexpr int kQuietMs = 400;

} // namespace

class CompanionLauncherTest : public QObject {
    Q_OBJECT

    QTemporaryDir work_;
    QByteArray savedPath_;
    QString savedCwd_;

    QString record() const { return work_.filePath(QStringLiteral("record.txt")); }

    // An executable stand-in for a companion: it appends "<tag> <own name> <argument
    // count>" to the record file.
    void writeFake(const QString& dir, const QString& name, const QString& tag,
                   bool executable = true) {
        QFile file(QDir(dir).filePath(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho \"%1 ${0##*/} $#\" >> '%2'\n")
                       .arg(tag, record())
                       .toUtf8());
        file.close();
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable) permissions |= QFile::ExeOwner;
        QVERIFY(file.setPermissions(permissions));
    }

    QStringList recorded() const {
        QFile file(record());
        if (!file.open(QIODevice::ReadOnly)) return {};
        return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }

    static void setPath(const QString& path) { qputenv("PATH", path.toLocal8Bit()); }

private slots:
    void initTestCase() {
        QVERIFY(work_.isValid());
        savedPath_ = qgetenv("PATH");
        savedCwd_ = QDir::currentPath();
    }
    void init() { QFile::remove(record()); }
    void cleanup() {
        qputenv("PATH", savedPath_);
        QDir::setCurrent(savedCwd_);
    }

    void eachCommandStartsItsProgramOncePerStart() {
        QTemporaryDir own;
        for (const QString& program : kPrograms) writeFake(own.path(), program, "own");
        setPath(QStringLiteral("/usr/bin:/bin"));
        ProcessLauncher launcher(own.path());

        for (int i = 0; i < kPrograms.size(); ++i) {
            launcher.start(kPrograms[i]);
            QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), i + 1, kStartTimeoutMs);
            QCOMPARE(recorded().last(), QStringLiteral("own %1 0").arg(kPrograms[i]));
        }
        QTest::qWait(kQuietMs);
        QCOMPARE(recorded().size(), kPrograms.size());

        // Every start is another instance.
        launcher.start(QStringLiteral("tamrelB"));
        launcher.start(QStringLiteral("tamrelB"));
        QTRY_COMPARE_WITH_TIMEOUT(recorded().size(), kPrograms.size() + 2, kStartTimeoutMs);
        QTest::qWait(kQuietMs);
        QCOMPARE(recorded().count(QStringLiteral("own tamrelB 0")), 3);
        QCOMPARE(recorded().size(), kPrograms.size() + 2);
    }

    // The click table names exactly the six programs, with their exact case, and each
    // click finds its program beside the simulator.
    void clickTableNamesTheSixPrograms() {
        QTemporaryDir own;
        for (const QString& program : kPrograms) writeFake(own.path(), program, "own");
        ProcessLauncher launcher(own.path());
        std::set<QString> commands;
        for (const procesor::CompanionClick& click : procesor::kCompanionClicks) {
            const QString command = QString::fromLatin1(click.command);
            commands.insert(command);
            QCOMPARE(launcher.locate(command), QDir(own.path()).filePath(command));
        }
        QCOMPARE(commands, std::set<QString>(kPrograms.begin(), kPrograms.end()));
    }

    void missingCompanionIsIgnored() {
        QTemporaryDir own, emptyPath;
        setPath(emptyPath.path());
        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        ProcessLauncher launcher(own.path());
        for (const QString& program : kPrograms) {
            QVERIFY(launcher.locate(program).isEmpty());
            launcher.start(program);
        }
        QTest::qWait(kQuietMs);
        QVERIFY(!QFile::exists(record()));
    }

    void besideTheSimulatorComesFirst() {
        QTemporaryDir own, onPath;
        writeFake(own.path(), QStringLiteral("vondrel"), "own");
        writeFake(onPath.path(), QStringLiteral("vondrel"), "path");
        setPath(onPath.path());
        ProcessLauncher(own.path()).start(QStringLiteral("vondrel"));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QStringList{QStringLiteral("own vondrel 0")},
                                  kStartTimeoutMs);
    }

    void foundOnAnAbsolutePathEntry() {
        QTemporaryDir own, cwd, onPath;
        // A relative entry that would lead to a stand-in in the current directory comes
        // first; only the absolute entry may be used.
        writeFake(cwd.path(), QStringLiteral("sarvek"), "cwd");
        writeFake(onPath.path(), QStringLiteral("sarvek"), "path");
        QVERIFY(QDir::setCurrent(cwd.path()));
        setPath(QStringLiteral(".:%1:/usr/bin").arg(onPath.path()));
        ProcessLauncher launcher(own.path());
        QCOMPARE(launcher.locate(QStringLiteral("sarvek")), QDir(onPath.path()).filePath("sarvek"));
        launcher.start(QStringLiteral("sarvek"));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QStringList{QStringLiteral("path sarvek 0")},
                                  kStartTimeoutMs);
    }

    void notStartedFromTheCurrentDirectory_data() {
        QTest::addColumn<QString>("path");
        QTest::newRow("no entry for it") << QStringLiteral("/usr/bin:/bin");
        QTest::newRow("dot entry") << QStringLiteral(".:/usr/bin:/bin");
        QTest::newRow("empty entry first") << QStringLiteral(":/usr/bin:/bin");
        QTest::newRow("empty entry last") << QStringLiteral("/usr/bin:/bin:");
        QTest::newRow("relative entry") << QStringLiteral("tools:/usr/bin:/bin");
    }
    void notStartedFromTheCurrentDirectory() {
        QFETCH(QString, path);
        QTemporaryDir own, cwd;
        writeFake(cwd.path(), QStringLiteral("vondrel"), "cwd");
        QVERIFY(QDir(cwd.path()).mkdir(QStringLiteral("tools")));
        writeFake(cwd.filePath(QStringLiteral("tools")), QStringLiteral("vondrel"), "cwd");
        QVERIFY(QDir::setCurrent(cwd.path()));
        setPath(path);
        ProcessLauncher launcher(own.path());
        QVERIFY(launcher.locate(QStringLiteral("vondrel")).isEmpty());
        launcher.start(QStringLiteral("vondrel"));
        QTest::qWait(kQuietMs);
        QVERIFY(!QFile::exists(record()));
    }

    void fileThatIsNotExecutableIsPassedOver() {
        QTemporaryDir own, onPath;
        writeFake(own.path(), QStringLiteral("plimo"), "own", false);
        writeFake(onPath.path(), QStringLiteral("plimo"), "path");
        setPath(onPath.path());
        ProcessLauncher(own.path()).start(QStringLiteral("plimo"));
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QStringList{QStringLiteral("path plimo 0")},
                                  kStartTimeoutMs);
    }
};

QTEST_GUILESS_MAIN(CompanionLauncherTest)
#include "test_companion_launcher.moc"
