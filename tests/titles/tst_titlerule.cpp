#include "doubles/memorycontrols.h"
#include "titles/titlerule.h"

#include <QtTest>

using namespace velk;

// A whole title is taken exactly when the title box, pasted into empty, would hold it without
// leaving anything out or cutting it; then both hold the same text.
class TestTitleRule : public QObject {
    Q_OBJECT

private slots:
    void wholeTitlesAsTheBoxTakesThem_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("held");    // what the title is, when taken
        QTest::addColumn<QString>("refusal"); // part of the reason, when refused
        QTest::newRow("plain") << "Hall 3"
                               << "Hall 3"
                               << "";
        QTest::newRow("empty") << ""
                               << ""
                               << "";
        QTest::newRow("exactly 20") << "ABCDEFGHIJKLMNOPQRST"
                                    << "ABCDEFGHIJKLMNOPQRST"
                                    << "";
        QTest::newRow("Latin-1 letters") << "Caf\u00e9 \u00c5rhus"
                                         << "Caf\u00e9 \u00c5rhus"
                                         << "";
        QTest::newRow("line breaks become blanks") << "Line\r\none\ntwo"
                                                   << "Line one two"
                                                   << "";
        QTest::newRow("21 characters") << "ABCDEFGHIJKLMNOPQRSTU"
                                       << ""
                                       << "has 21 characters; a display shows at most 20";
        QTest::newRow("a break that makes it 21") << "ABCDEFGHIJ\nKLMNOPQRST"
                                                  << ""
                                                  << "has 21 characters";
        QTest::newRow("a tab") << "A\tB"
                               << ""
                               << "cannot show: U+0009";
        QTest::newRow("euro sign") << "5 \u20ac"
                                   << ""
                                   << "cannot show: \"\u20ac\"";
        QTest::newRow("outside the basic plane, named once") << "\U0001F600 and \U0001F600"
                                                             << ""
                                                             << "cannot show: \"\U0001F600\"";
    }
    void wholeTitlesAsTheBoxTakesThem() {
        QFETCH(QString, text);
        QFETCH(QString, held);
        QFETCH(QString, refusal);
        QString why;
        const std::optional<QString> taken = titlerule::accept(text, &why);
        QCOMPARE(taken.value_or(QStringLiteral("<refused>")),
                 refusal.isEmpty() ? held : QStringLiteral("<refused>"));
        QVERIFY2(why.contains(refusal) && why.contains(QLatin1Char('\n')) == false,
                 qPrintable(why));

        MemoryTextBox box(kTitleLength);
        box.setInputFilter(titlerule::inputFilter());
        bool leftOut = false;
        box.onLeftOut([&] { leftOut = true; });
        box.paste(text);
        const QString blanked = QString(text).replace("\r\n", " ").replace('\n', ' ');
        QCOMPARE(taken.has_value(), !leftOut && box.text() == blanked);
        if (taken)
            QCOMPARE(box.text(), *taken);
    }
};

QTEST_GUILESS_MAIN(TestTitleRule)
#include "tst_titlerule.moc"
