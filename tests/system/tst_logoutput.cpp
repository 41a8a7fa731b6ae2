#include "controls/logging.h"
#include "system/parentconsole.h"

#include <QtTest>

// The program's log reaches its standard error output when that is redirected to a file or a
// pipe, on every system: this test program runs itself as the logging program.

namespace {

const char kChildWord[] = "--log-a-warning";
const QByteArray kWarning = "the line is not taking data";

} // namespace

class TestLogOutput : public QObject {
    Q_OBJECT

private slots:
    void warningsReachRedirectedStandardError_data() {
        QTest::addColumn<bool>("toFile");
        QTest::newRow("file") << true;
        QTest::newRow("pipe") << false;
    }
    void warningsReachRedirectedStandardError() {
        QFETCH(bool, toFile);
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString file = dir.filePath(QStringLiteral("err.log"));
        QProcess child;
        if (toFile)
            child.setStandardErrorFile(file);
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
