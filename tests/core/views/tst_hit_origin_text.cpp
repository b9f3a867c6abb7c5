#include "views/HitOriginText.h"

#include <QTest>

// The line under a hit naming the engines that returned it.
class TestHitOriginText final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void originText_data()
    {
        QTest::addColumn<QStringList>("engines");
        QTest::addColumn<QString>("text");
        QTest::newRow("none known") << QStringList() << QString();
        QTest::newRow("one") << QStringList{"AltaVista"} << "From AltaVista";
        QTest::newRow("two, in the order found") << QStringList{"HotBot", "AltaVista"} << "From HotBot, AltaVista";
        QTest::newRow("all seven")
            << QStringList{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"}
            << "From AltaVista, Excite, HotBot, InfoSeek, Lycos, Magellan, Yahoo";
        QTest::newRow("blank names left out") << QStringList{"", "  ", "Lycos"} << "From Lycos";
        QTest::newRow("only blank names") << QStringList{"", " \t"} << QString();
        QTest::newRow("a repeat is named once") << QStringList{"Yahoo", "Lycos", "yahoo"} << "From Yahoo, Lycos";
        QTest::newRow("line breaks in a name stay on the line")
            << QStringList{"My\nWiki", "Sim  Atom"} << "From My Wiki, Sim Atom";
        // Markup stays text: the view shows it as typed.
        QTest::newRow("markup kept as text") << QStringList{"<b>Bold</b> & co"} << "From <b>Bold</b> & co";
    }

    void originText()
    {
        QFETCH(QStringList, engines);
        QFETCH(QString, text);
        QCOMPARE(HitOriginText::OriginText(engines), text);
        QCOMPARE(HitOriginText::OriginText(engines).isNull(), text.isNull());
    }
};

QTEST_GUILESS_MAIN(TestHitOriginText)
#include "tst_hit_origin_text.moc"
