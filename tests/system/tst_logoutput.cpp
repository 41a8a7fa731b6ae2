#include "controls/logging.h"
#include "system/parentconsole.h"

#include <QtTest>

#include <sys/stat.h>

// The program's log reaches its standard error output when that is redirected to a file or a
// pipe, on every system: this test program runs itself as the logging program.

namespace {

const char kChildWord[] = "--log-a-warning";
const QByteArray kWarning = "the line is not taking data";

} // namespace

class TestLogOutput : public QObject {
    Q_OBJECT

private slots:
    // Each log line kept in a file or a pipe starts with the local date and time; the journal
    // stamps its own, so a line sent to it has none.
    void warningsReachRedirectedStandardError_data() {
        QTest::addColumn<bool>("toFile");
        QTest::addColumn<bool>("journal");
        QTest::newRow("file") << true << false;
        QTest::newRow("pipe") << false << false;
#ifndef Q_OS_WIN
        QTest::newRow("the journal's stream") << true << true;
#endif
    }
    void warningsReachRedirectedStandardError() {
        QFETCH(bool, toFile);
        QFETCH(bool, journal);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("err.log"));
        QProcess child;
        if (toFile) {
            QFile(file).open(QIODevice::WriteOnly);
            child.setStandardErrorFile(file);
        }
        if (journal) {
            struct stat target {};
            QVERIFY(::stat(QFile::encodeName(file).constData(), &target) == 0);
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("JOURNAL_STREAM"),
                               QStringLiteral("%1:%2").arg(target.st_dev).arg(target.st_ino));
            child.setProcessEnvironment(environment);
        }
        child.start(QCoreApplication::applicationFilePath(), {QString::fromLatin1(kChildWord)});
        QVERIFY(child.waitForFinished(30000));
        QCOMPARE(child.exitCode(), 0);
        QByteArray said = child.readAllStandardError();
        if (toFile) {
            QFile log(file);
            QVERIFY(log.open(QIODevice::ReadOnly));
            said = log.readAll();
        }
        QVERIFY2(said.contains(kWarning), said.constData());
        static const QRegularExpression stamp(
            QStringLiteral("^\\d{4}-\\d\\d-\\d\\d \\d\\d:\\d\\d:\\d\\d velk.serial: "));
        QCOMPARE(stamp.match(QString::fromLocal8Bit(said)).hasMatch(), !journal);
    }

    // JOURNAL_STREAM names the journal only when both numbers are those of standard error.
    void journalStream_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<bool>("journal");
        QTest::newRow("same") << QByteArray("64769:123456") << true;
        QTest::newRow("other inode") << QByteArray("64769:123457") << false;
        QTest::newRow("other device") << QByteArray("1:123456") << false;
        QTest::newRow("unset") << QByteArray() << false;
        QTest::newRow("one number") << QByteArray("64769") << false;
        QTest::newRow("not numbers") << QByteArray("a:b") << false;
        QTest::newRow("three parts") << QByteArray("64769:123456:1") << false;
    }
    void journalStream() {
        QFETCH(QByteArray, value);
        QFETCH(bool, journal);
        QCOMPARE(velk::isJournalStream(value, 64769, 123456), journal);
    }
};

int main(int argc, char* argv[]) {
    if (argc == 2 && qstrcmp(argv[1], kChildWord) == 0) {
        velk::logToStandardError();
        QCoreApplication app(argc, argv);
        qCWarning(velk::lcSerial).noquote() << QString::fromLatin1(kWarning);
        return 0;
    }
    QCoreApplication app(argc, argv);
    TestLogOutput test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_logoutput.moc"
