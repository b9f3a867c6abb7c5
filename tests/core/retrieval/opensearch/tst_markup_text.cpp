#include "retrieval/opensearch/MarkupText.h"

#include <QTest>

class TestMarkupText final : public QObject
{
    Q_OBJECT

private slots:
    void fromHtml_data();
    void fromHtml();
    void fromPlain_data();
    void fromPlain();
    void hostileInputStaysText();
};

void TestMarkupText::fromHtml_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<QString>("text");

    QTest::newRow("plain") << "lighthouse keeper" << "lighthouse keeper";
    QTest::newRow("amp") << "Fish &amp; chips" << "Fish & chips";
    QTest::newRow("lt gt") << "a &lt;b&gt; c" << "a <b> c";
    QTest::newRow("hex apostrophe") << "it&#x27;s" << "it's";
    QTest::newRow("decimal apostrophe") << "it&#39;s" << "it's";
    QTest::newRow("numeric without semicolon") << "it&#39s" << "it's";
    QTest::newRow("named latin-1") << "Caf&eacute; cr&egrave;me" << QString::fromUtf8("Café crème");
    QTest::newRow("typographic") << "&ldquo;a&rdquo; &ndash; b&hellip;" << QString::fromUtf8("“a” – b…");
    QTest::newRow("astral") << "&#x1F600;!" << QString::fromUtf8("😀!");
    QTest::newRow("windows-1252 reference") << "&#150; &#8211;" << QString::fromUtf8("– –");
    QTest::newRow("bad code points") << "&#0;&#xD800;&#99999999999;" << QString::fromUtf8("\uFFFD\uFFFD\uFFFD");
    QTest::newRow("unknown entity kept") << "&bogus; &amp" << "&bogus; &amp";
    QTest::newRow("lone ampersand") << "AT&T & co" << "AT&T & co";
    QTest::newRow("entity decoded once") << "&amp;lt;" << "&lt;";
    QTest::newRow("bold") << "the <b>light</b>house" << "the lighthouse";
    QTest::newRow("nested") << "<div><p>one <span><i>two</i></span></p><p>three</p></div>" << "one two three";
    QTest::newRow("line break separates") << "one<br>two<br/>three" << "one two three";
    QTest::newRow("attributes with >") << "<a href=\"x\" title=\"a>b\">link</a> text" << "link text";
    QTest::newRow("script dropped") << "a<script type=\"text/javascript\">if (x < 3) alert('<b>');</script>b" << "a b";
    QTest::newRow("style dropped") << "a<STYLE>p { color: red }</STYLE>b" << "a b";
    QTest::newRow("unclosed script hides rest") << "a<script>evil()" << "a";
    QTest::newRow("comment") << "a<!-- <b>hidden</b> -->b" << "ab";
    QTest::newRow("unclosed comment") << "a<!-- hidden" << "a";
    QTest::newRow("cdata") << "a<![CDATA[<kept> & raw]]>b" << "a<kept> & rawb";
    QTest::newRow("less-than as text") << "1 < 2 and 3 <= 4" << "1 < 2 and 3 <= 4";
    QTest::newRow("unclosed tag is text") << "x <b y" << "x <b y";
    QTest::newRow("whitespace collapsed") << "  a \n\t b&nbsp; c  " << "a b c";
    QTest::newRow("control characters dropped") << QString::fromUtf8("a\x01\x7f b") << "a b";
    QTest::newRow("doctype and processing instruction") << "<!DOCTYPE html><?xml x?>text" << "text";
    QTest::newRow("empty") << "" << "";
}

void TestMarkupText::fromHtml()
{
    QFETCH(QString, html);
    QFETCH(QString, text);
    QCOMPARE(MarkupText::fromHtml(html), text);
}

void TestMarkupText::fromPlain_data()
{
    QTest::addColumn<QString>("plain");
    QTest::addColumn<QString>("text");

    QTest::newRow("markup means itself") << "a <b> &amp; c" << "a <b> &amp; c";
    QTest::newRow("collapsed") << "\n  two   words \r\n" << "two words";
    QTest::newRow("controls") << QString::fromUtf8("x\x02y") << "xy";
}

void TestMarkupText::fromPlain()
{
    QFETCH(QString, plain);
    QFETCH(QString, text);
    QCOMPARE(MarkupText::fromPlain(plain), text);
}

void TestMarkupText::hostileInputStaysText()
{
    // Unclosed tags and unbalanced quotes by the thousand: every '<' stays as text, and
    // the text that follows an unclosed quote still comes through.
    const QString unclosed = QStringLiteral("<a ").repeated(20000);
    QCOMPARE(MarkupText::fromHtml(unclosed), unclosed.trimmed());
    const QString quotes = QStringLiteral("<a title=\"x>one ") + QStringLiteral("<b '>two ").repeated(5000);
    const QString text = MarkupText::fromHtml(quotes);
    QVERIFY(text.size() <= quotes.size());
    QVERIFY(text.contains(u"two"));
}

QTEST_GUILESS_MAIN(TestMarkupText)
#include "tst_markup_text.moc"
