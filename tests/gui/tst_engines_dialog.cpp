// The Engines dialog against the engine simulator on loopback: adding by address (a
// description over verified HTTPS, a page that names one, an instance), from a file and by
// template; the refusals shown in the dialog; edit, remove and the one-word test.
#include "retrieval/opensearch/OpenSearchNamespaces.h"
#include "FrameTestSupport.h"
#include "LoopbackEngineServer.h"
#include "ThreadsEndAtExit.h"
#include "PrefsModalDriver.h"
#include "RunEngineSim.h"
#include "TestPaths.h"

#include "TrawlexIds.h"
#include "engines/CEngineAddDlg.h"
#include "engines/CEngineEditDlg.h"
#include "engines/CEngineForm.h"
#include "engines/CEnginesDlg.h"
#include "frame/CMainFrame.h"
#include "query/CTrawlexQuery.h"
#include "retrieval/EngineRegistry.h"
#include "retrieval/web/EngineSources.h"
#include "run/CQueryCommands.h"
#include "run/CRunMonitor.h"
#include "run/CUserEngines.h"
#include "sheet/CTrawlexPropertyPageWhere.h"
#include "sheet/CTrawlexPropertySheetQuery.h"
#include "store/CSearchEngineTable.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QProgressBar>
#include <QRegularExpression>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

using namespace TrawlexIds;

namespace {

constexpr int kNetworkMs = 15000;

QStringList smallCorpus()
{
    return {QStringLiteral("--corpus"), TestPaths::dataDir() + QStringLiteral("/corpus/enginesim-small.jsonl")};
}

// A description in a file, searching the simulator's RSS feed.
QByteArray fileDescription(const QString &httpBase)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<OpenSearchDescription xmlns=\"" TRAWLEX_OPENSEARCH_NS "\">\n"
                          "  <ShortName>Saved Feed</ShortName>\n"
                          "  <Description>A &lt;b&gt;saved&lt;/b&gt; description</Description>\n"
                          "  <Url type=\"application/rss+xml\" template=\"%1/feed/rss?q={searchTerms}&amp;page={startPage?}\"/>\n"
                          "</OpenSearchDescription>\n")
        .arg(httpBase)
        .toUtf8();
}

} // namespace

class TestEnginesDialog final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void addFromSource_data();
    void addFromSource();
    void addStopsAFetch();
    void refusedNames_data();
    void refusedNames();
    void addThroughTheList();
    void listShowsBuiltInThenAdded();
    void editRenames();
    void editRefusal();
    void remove_data();
    void remove();
    void test_data();
    void test();
    void menuOpensTheDialog();
    void wherePageFollowsTheEngines();
    void screenshots();

private:
    // An engine added straight through the core, for the tests that start from one.
    void addEngine(const QString &name, const QString &templateText, const QString &format = QStringLiteral("atom"));
    // Reads the chosen source and waits until the dialog reviews it or says why not.
    static bool next(CEngineAddDlg &dialog);
    int storedQuery(const QString &name, const QStringList &engines);
    QString save(QWidget &widget, const QString &name);

    RunEngineSim m_sim;
    LoopbackEngineServer m_pages;
    std::unique_ptr<FrameTest::Store> m_store;
    std::unique_ptr<CQueryCommands> m_commands;
    std::unique_ptr<PrefsModalDriver> m_driver;
};

void TestEnginesDialog::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
    WaitForThreadsEndAtExit();
    QVERIFY(m_sim.startWithHttps(smallCorpus()));
    qputenv("TRAWLEX_CA_CERTIFICATES", QFile::encodeName(m_sim.certificateFile()));
    QVERIFY(m_pages.listen());
    // A page that names its description the way browsers find one, and one that never answers.
    const QByteArray page = "HTTP/1.0 200 OK\r\nContent-Type: text/html\r\n\r\n"
                            "<!DOCTYPE html><html><head><title>Find</title>"
                            "<link rel=\"search\" type=\"application/opensearchdescription+xml\" href=\""
                            + m_sim.httpsBase().toUtf8() + "/opensearch/atom.xml\"></head><body>Find</body></html>";
    m_pages.setScript("/find", LoopbackEngineServer::page(page));
    LoopbackEngineServer::Script silent;
    silent.kind = LoopbackEngineServer::Script::NeverAnswer;
    m_pages.setScript("/silent", silent);
    QVERIFY(QDir().mkpath(TestPaths::binaryDir() + QStringLiteral("/screenshots")));
}

void TestEnginesDialog::init()
{
    m_store = std::make_unique<FrameTest::Store>();
    // The seven point at the simulator, so the built-in ones can be tried too.
    QTemporaryDir &dir = m_store->dir;
    const QString path = dir.filePath(QStringLiteral("tx.mdb"));
    QVERIFY(m_sim.createDatabase(path));
    QVERIFY(m_store->open(path));
    // The registry is the program's: it must hold this database's engines and no others.
    QVERIFY(CUserEngines(m_store->doc.Database()).load().isEmpty());
    m_store->doc.LoadEngineAddressList();
    m_store->settings->MaxDelay = 20;
    // The dialog's tests go through the commands, with the time limit of the settings as the window's do.
    m_commands = std::make_unique<CQueryCommands>(m_store->doc, m_store->prompt);
    m_commands->setLimits([this] {
        CRunMonitor::Limits limits;
        limits.maxDelay = m_store->settings->MaxDelay;
        return limits;
    });
    m_driver = std::make_unique<PrefsModalDriver>();
}

void TestEnginesDialog::cleanup()
{
    QVERIFY2(m_driver->unanswered.isEmpty(), qPrintable(m_driver->unanswered.join(u'\n')));
    m_driver.reset();
    m_commands.reset();
    m_store.reset();
}

void TestEnginesDialog::addEngine(const QString &name, const QString &templateText, const QString &format)
{
    QString error;
    std::optional<EngineDefinition> d = EngineSources::fromTemplate(templateText, format, &error);
    QVERIFY2(d, qPrintable(error));
    d->name = name;
    QVERIFY2(CUserEngines(m_store->doc.Database()).add(*d, &error), qPrintable(error));
    m_store->doc.LoadEngineAddressList();
}

bool TestEnginesDialog::next(CEngineAddDlg &dialog)
{
    dialog.OnNext();
    QDeadlineTimer deadline(kNetworkMs);
    while (dialog.isFetching() && !deadline.hasExpired())
        QTest::qWait(10);
    return !dialog.isFetching();
}

int TestEnginesDialog::storedQuery(const QString &name, const QStringList &engines)
{
    const int qid = m_store->addQuery(name, {QStringLiteral("apple")});
    CSearchEngineTable table(m_store->doc.Database());
    for (const QString &engine : engines)
        table.insertQueryEngine(qid, table.engineSid(engine));
    return qid;
}

QString TestEnginesDialog::save(QWidget &widget, const QString &name)
{
    const QString path = TestPaths::binaryDir() + QStringLiteral("/screenshots/") + name;
    return widget.grab().save(path) ? path : QString();
}

void TestEnginesDialog::addFromSource_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<QString>("input"); // %H http base, %S https base, %P the page server
    QTest::addColumn<bool>("instance");
    QTest::addColumn<QString>("format");
    QTest::addColumn<bool>("trusted");
    QTest::addColumn<QString>("name");  // pre-filled; empty when refused
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("error"); // a part of the refusal

    const int address = CEngineAddDlg::ByAddress;
    const int file = CEngineAddDlg::FromFile;
    const int templ = CEngineAddDlg::ByTemplate;
    QTest::newRow("Atom description over https") << address << "%S/opensearch/atom.xml" << false << "" << true
                                                 << "Sim Atom" << "Atom" << "";
    QTest::newRow("RSS description: the feed, not the page") << address << "%H/opensearch/rss.xml" << false << "" << true
                                                             << "Sim RSS" << "RSS" << "";
    QTest::newRow("page naming a description") << address << "%P/find" << false << "" << true << "Sim Atom" << "Atom" << "";
    QTest::newRow("metasearch instance") << address << "%S/searx/" << true << "" << true << "127.0.0.1" << "JSON" << "";
    QTest::newRow("HTML-only description") << address << "%H/opensearch/html.xml" << false << "" << true << "" << ""
                                           << "only as text/html";
    QTest::newRow("https not trusted") << address << "%S/opensearch/atom.xml" << false << "" << false << "" << ""
                                       << "certificate";
    QTest::newRow("missing description") << address << "%H/opensearch/none.xml" << false << "" << true << "" << ""
                                         << "HTTP 404";
    QTest::newRow("not a web address") << address << "ftp://127.0.0.1/opensearch.xml" << false << "" << true << "" << ""
                                       << "Only http and https";
    QTest::newRow("nothing typed") << address << "" << false << "" << true << "" << "" << "Give the address";
    QTest::newRow("description file") << file << "saved.xml" << false << "" << true << "Saved Feed" << "RSS" << "";
    QTest::newRow("no such file") << file << "missing.xml" << false << "" << true << "" << "" << "Cannot read";
    QTest::newRow("template, Atom") << templ << "%H/feed/atom?q={searchTerms}&start={startIndex}" << false << "atom"
                                    << true << "127.0.0.1" << "Atom" << "";
    QTest::newRow("template, mapped JSON") << templ << "%H/feed/json?q={searchTerms}&pageno={startPage}" << false
                                           << "mapped" << true << "127.0.0.1" << "mapped JSON" << "";
    QTest::newRow("mapped JSON without an address field") << templ << "%H/feed/json?q={searchTerms}" << false << "mapped"
                                                          << true << "" << "" << "which field gives a hit's address";
    QTest::newRow("template without the words") << templ << "%H/feed/atom?q=apple" << false << "atom" << true << "" << ""
                                                << "no {searchTerms}";
    QTest::newRow("template not on the web") << templ << "file:///tmp/x?q={searchTerms}" << false << "rss" << true << ""
                                             << "" << "http or https";
}

void TestEnginesDialog::addFromSource()
{
    QFETCH(int, source);
    QFETCH(QString, input);
    QFETCH(bool, instance);
    QFETCH(QString, format);
    QFETCH(bool, trusted);
    QFETCH(QString, name);
    QFETCH(QString, kind);
    QFETCH(QString, error);

    input.replace(QLatin1String("%H"), m_sim.httpBase())
        .replace(QLatin1String("%S"), m_sim.httpsBase())
        .replace(QLatin1String("%P"), QStringLiteral("http://") + QString::fromLatin1(m_pages.hostPort()));
    if (source == CEngineAddDlg::FromFile) {
        const QString path = m_store->dir.filePath(input);
        if (input == QLatin1String("saved.xml")) {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(fileDescription(m_sim.httpBase()));
        }
        input = path;
    }
    const QByteArray trust = qgetenv("TRAWLEX_CA_CERTIFICATES");
    if (!trusted)
        qunsetenv("TRAWLEX_CA_CERTIFICATES");
    const int before = int(CUserEngines(m_store->doc.Database()).list().size());

    CEngineAddDlg dialog(m_store->doc.Database(), m_store->prompt);
    dialog.show();
    dialog.sources()->setCurrentIndex(source);
    switch (source) {
    case CEngineAddDlg::ByAddress:
        dialog.addressEdit()->setText(input);
        dialog.instanceBox()->setChecked(instance);
        break;
    case CEngineAddDlg::FromFile:
        dialog.fileEdit()->setText(input);
        break;
    default:
        dialog.templateEdit()->setText(input);
        dialog.templateFormat()->setCurrentIndex(dialog.templateFormat()->findData(format));
        if (format == QLatin1String("mapped") && !error.contains(QLatin1String("address"))) {
            dialog.templateMapping(CEngineForm::Results)->setText(QStringLiteral("results"));
            dialog.templateMapping(CEngineForm::Title)->setText(QStringLiteral("title"));
            dialog.templateMapping(CEngineForm::Address)->setText(QStringLiteral("url"));
        }
        break;
    }
    const bool settled = next(dialog);
    qputenv("TRAWLEX_CA_CERTIFICATES", trust);
    QVERIFY(settled);

    if (!error.isEmpty()) {
        QVERIFY(!dialog.isReviewing());
        QVERIFY(dialog.messageLabel()->isVisible());
        QVERIFY2(dialog.messageLabel()->text().startsWith(QLatin1String("Error!  ")), qPrintable(dialog.messageLabel()->text()));
        QVERIFY2(dialog.messageLabel()->text().contains(error), qPrintable(dialog.messageLabel()->text()));
        QCOMPARE(dialog.messageLabel()->textFormat(), Qt::PlainText);
        // OK is not even offered before a definition is reviewed.
        QVERIFY(!dialog.okButton()->isVisible());
        dialog.reject();
        QCOMPARE(int(CUserEngines(m_store->doc.Database()).list().size()), before);
        return;
    }
    QVERIFY2(dialog.isReviewing(), qPrintable(dialog.messageLabel()->text()));
    QCOMPARE(dialog.form()->nameEdit()->text(), name);
    QCOMPARE(CEngineForm::kindText(dialog.form()->definition()), kind);
    // Every source gets its own name, so the rows do not collide with each other.
    const QString chosen = QStringLiteral("Added %1").arg(QString::fromLatin1(QTest::currentDataTag()).left(20).trimmed());
    dialog.form()->nameEdit()->setText(chosen);
    dialog.form()->operatorBox(WebQueryText::Operator::InTitle)->setChecked(true);
    dialog.form()->pageSizeSpin()->setValue(20);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    const std::optional<EngineDefinition> stored = CUserEngines(m_store->doc.Database()).find(chosen);
    QVERIFY(stored);
    QCOMPARE(CEngineForm::kindText(*stored), kind);
    QVERIFY(stored->operators.testFlag(WebQueryText::Operator::InTitle));
    QCOMPARE(stored->pageSize, 20);
    QVERIFY(EngineRegistry::instance().contains(chosen));
    if (kind == QLatin1String("mapped JSON"))
        QCOMPARE(stored->mapping->addressPath, QStringLiteral("url"));
}

void TestEnginesDialog::addStopsAFetch()
{
    CEngineAddDlg dialog(m_store->doc.Database(), m_store->prompt);
    dialog.show();
    dialog.addressEdit()->setText(QStringLiteral("http://") + QString::fromLatin1(m_pages.hostPort()) + QStringLiteral("/silent"));
    dialog.OnNext();
    QVERIFY(dialog.isFetching());
    QVERIFY(dialog.progressBar()->isVisible());
    QVERIFY(dialog.stopButton()->isVisible());
    QVERIFY(!dialog.nextButton()->isEnabled());
    QTest::mouseClick(dialog.stopButton(), Qt::LeftButton);
    QVERIFY(!dialog.isFetching());
    QVERIFY(!dialog.progressBar()->isVisible());
    QVERIFY(dialog.nextButton()->isEnabled());
    QCOMPARE(dialog.messageLabel()->text(), QStringLiteral("Stopped."));
    // A late answer of the stopped fetch changes nothing.
    QTest::qWait(100);
    QVERIFY(!dialog.isReviewing());
    QVERIFY(CUserEngines(m_store->doc.Database()).list().isEmpty());
}

void TestEnginesDialog::refusedNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("error");

    QTest::newRow("taken, other letter case") << "feeds of today" << "There is already an engine called \"Feeds of Today\".";
    QTest::newRow("built-in") << "altavista" << "\"AltaVista\" is the name of a built-in engine.";
    QTest::newRow("page counter mark") << "A#B" << "cannot contain \"#\", \"@\" or \"|\"";
    QTest::newRow("empty") << "   " << "An engine needs a name.";
}

void TestEnginesDialog::refusedNames()
{
    QFETCH(QString, name);
    QFETCH(QString, error);

    addEngine(QStringLiteral("Feeds of Today"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
    CEngineAddDlg dialog(m_store->doc.Database(), m_store->prompt);
    dialog.show();
    dialog.sources()->setCurrentIndex(CEngineAddDlg::ByTemplate);
    dialog.templateEdit()->setText(m_sim.httpBase() + QStringLiteral("/feed/rss?q={searchTerms}"));
    dialog.templateFormat()->setCurrentIndex(dialog.templateFormat()->findData(QStringLiteral("rss")));
    QVERIFY(next(dialog));
    QVERIFY(dialog.isReviewing());
    dialog.form()->nameEdit()->setText(name);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);

    // Refused: the dialog stays open with the reason, and nothing was added.
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.isReviewing());
    QVERIFY2(dialog.messageLabel()->text().startsWith(QLatin1String("Error!  ")), qPrintable(dialog.messageLabel()->text()));
    QVERIFY2(dialog.messageLabel()->text().contains(error), qPrintable(dialog.messageLabel()->text()));
    QCOMPARE(CUserEngines(m_store->doc.Database()).list().size(), 1);
    QVERIFY(!dialog.added());
    // A better name is taken from the same open dialog.
    dialog.form()->nameEdit()->setText(QStringLiteral("Feeds as RSS"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(CUserEngines(m_store->doc.Database()).list().size(), 2);
}

void TestEnginesDialog::addThroughTheList()
{
    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    engines.show();
    const QStringList before = engines.listedEngines();
    m_driver->expect<CEngineAddDlg>([this](CEngineAddDlg *dialog) {
        dialog->sources()->setCurrentIndex(CEngineAddDlg::ByTemplate);
        dialog->templateEdit()->setText(m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
        QTest::mouseClick(dialog->nextButton(), Qt::LeftButton);
        dialog->form()->nameEdit()->setText(QStringLiteral("Orchard"));
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(engines.addButton(), Qt::LeftButton);
    QCOMPARE(engines.listedEngines(), before + QStringList{QStringLiteral("Orchard")});
    // The new engine is selected and can be changed at once.
    QCOMPARE(engines.selectedEngine(), QStringLiteral("Orchard"));
    QVERIFY(engines.editButton()->isEnabled());
    QVERIFY(m_store->doc.EngineAddressList().contains(QLatin1String("|Orchard|")));

    // Cancel adds nothing.
    m_driver->expect<CEngineAddDlg>([](CEngineAddDlg *dialog) { QTest::mouseClick(dialog->cancelButton(), Qt::LeftButton); });
    QTest::mouseClick(engines.addButton(), Qt::LeftButton);
    QCOMPARE(engines.listedEngines().size(), before.size() + 1);
}

void TestEnginesDialog::listShowsBuiltInThenAdded()
{
    addEngine(QStringLiteral("Zed"), m_sim.httpBase() + QStringLiteral("/feed/rss?q={searchTerms}"), QStringLiteral("rss"));
    addEngine(QStringLiteral("Alpha"), m_sim.httpsBase() + QStringLiteral("/feed/json?q={searchTerms}"), QStringLiteral("json"));
    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    const QStringList expected = QStringList{"AltaVista", "Excite", "HotBot", "InfoSeek", "Lycos", "Magellan", "Yahoo"}
                                 + QStringList{"Zed", "Alpha"};
    QCOMPARE(engines.listedEngines(), expected);
    QTreeWidget *list = engines.engineList();
    QCOMPARE(list->topLevelItem(0)->text(CEnginesDlg::KindColumn), QStringLiteral("built-in"));
    QCOMPARE(list->topLevelItem(0)->text(CEnginesDlg::AddressColumn), m_sim.address() + QStringLiteral("/altavista/cgi-bin/query"));
    QCOMPARE(list->topLevelItem(7)->text(CEnginesDlg::KindColumn), QStringLiteral("RSS"));
    QCOMPARE(list->topLevelItem(8)->text(CEnginesDlg::KindColumn), QStringLiteral("JSON"));
    QCOMPARE(list->topLevelItem(8)->text(CEnginesDlg::AddressColumn),
             QStringLiteral("127.0.0.1:%1/feed/json").arg(m_sim.httpsPort()));

    // Built-in engines can be tried, never changed.
    engines.selectEngine(QStringLiteral("Lycos"));
    QVERIFY(!engines.editButton()->isEnabled());
    QVERIFY(!engines.removeButton()->isEnabled());
    QVERIFY(engines.testButton()->isEnabled());
    engines.selectEngine(QStringLiteral("Zed"));
    QVERIFY(engines.editButton()->isEnabled());
    QVERIFY(engines.removeButton()->isEnabled());
}

void TestEnginesDialog::editRenames()
{
    addEngine(QStringLiteral("Orchard"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
    const int qid = storedQuery(QStringLiteral("Apples"), {QStringLiteral("Orchard"), QStringLiteral("Yahoo")});
    m_store->doc.MainQueries().setEngineLevels(qid, QStringLiteral("#Orchard#@2@#Yahoo#@1@"));

    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    engines.show();
    QVERIFY(engines.selectEngine(QStringLiteral("Orchard")));
    m_driver->expect<CEngineEditDlg>([](CEngineEditDlg *dialog) {
        QCOMPARE(dialog->form()->nameEdit()->text(), QStringLiteral("Orchard"));
        dialog->form()->nameEdit()->setText(QStringLiteral("Old Orchard"));
        dialog->form()->operatorBox(WebQueryText::Operator::Site)->setChecked(true);
        QTest::mouseClick(dialog->okButton(), Qt::LeftButton);
    });
    QTest::mouseClick(engines.editButton(), Qt::LeftButton);

    QVERIFY(engines.listedEngines().contains(QStringLiteral("Old Orchard")));
    QVERIFY(!engines.listedEngines().contains(QStringLiteral("Orchard")));
    QCOMPARE(engines.selectedEngine(), QStringLiteral("Old Orchard"));
    const std::optional<EngineDefinition> stored = CUserEngines(m_store->doc.Database()).find(QStringLiteral("Old Orchard"));
    QVERIFY(stored);
    QVERIFY(stored->operators.testFlag(WebQueryText::Operator::Site));
    QVERIFY(!EngineRegistry::instance().contains(QStringLiteral("Orchard")));
    // The stored query still asks it, page counter and all.
    QCOMPARE(m_store->doc.MainQueries().levelAndEngineLevels(qid)->engineLevels, QStringLiteral("#Old Orchard#@2@#Yahoo#@1@"));
    QCOMPARE(CUserEngines(m_store->doc.Database()).queriesUsing(QStringLiteral("Old Orchard")).size(), 1);
}

void TestEnginesDialog::editRefusal()
{
    addEngine(QStringLiteral("Orchard"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
    const std::optional<EngineDefinition> d = CUserEngines(m_store->doc.Database()).find(QStringLiteral("Orchard"));
    QVERIFY(d);
    CEngineEditDlg dialog(m_store->doc.Database(), m_store->prompt, *d);
    dialog.show();
    dialog.form()->nameEdit()->setText(QStringLiteral("Yahoo"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QCOMPARE(dialog.messageLabel()->text(), QStringLiteral("Error!  \"Yahoo\" is the name of a built-in engine."));
    // A template that lost its words is refused too; the stored one stays.
    dialog.form()->nameEdit()->setText(QStringLiteral("Orchard"));
    dialog.form()->templateEdit()->setText(m_sim.httpBase() + QStringLiteral("/feed/atom?q=apple"));
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.messageLabel()->text().contains(QLatin1String("{searchTerms}")));
    QCOMPARE(CUserEngines(m_store->doc.Database()).find(QStringLiteral("Orchard"))->url.templateText, d->url.templateText);
}

void TestEnginesDialog::remove_data()
{
    QTest::addColumn<QStringList>("queryEngines"); // of one stored query "Apples"; empty: no query
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("question");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("removed");

    QTest::newRow("unused, yes") << QStringList{} << true << "Remove the engine \"Orchard\"?" << "" << true;
    QTest::newRow("unused, no") << QStringList{} << false << "Remove the engine \"Orchard\"?" << "" << false;
    const QString asked = QStringLiteral("The engine \"Orchard\" is asked by the query \"Apples\".  "
                                         "Remove it from it and remove the engine?");
    QTest::newRow("used with another engine, yes") << QStringList{"Orchard", "Excite"} << true << asked << "" << true;
    QTest::newRow("used with another engine, no") << QStringList{"Orchard", "Excite"} << false << asked << "" << false;
    QTest::newRow("a query's only engine") << QStringList{"Orchard"} << true << ""
                                           << "Error!  \"Orchard\" is the only engine of \"Apples\": give them another "
                                              "engine or delete them first."
                                           << false;
}

void TestEnginesDialog::remove()
{
    QFETCH(QStringList, queryEngines);
    QFETCH(bool, answer);
    QFETCH(QString, question);
    QFETCH(QString, message);
    QFETCH(bool, removed);

    addEngine(QStringLiteral("Orchard"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
    const int qid = queryEngines.isEmpty() ? -1 : storedQuery(QStringLiteral("Apples"), queryEngines);
    m_store->prompt.answer = answer;
    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    QVERIFY(engines.selectEngine(QStringLiteral("Orchard")));
    QTest::mouseClick(engines.removeButton(), Qt::LeftButton);

    const QStringList questions = question.isEmpty() ? QStringList() : QStringList{question};
    const QStringList messages = message.isEmpty() ? QStringList() : QStringList{message};
    QCOMPARE(m_store->prompt.questions, questions);
    QCOMPARE(m_store->prompt.messages, messages);
    QCOMPARE(!CUserEngines(m_store->doc.Database()).find(QStringLiteral("Orchard")), removed);
    QCOMPARE(engines.listedEngines().contains(QStringLiteral("Orchard")), !removed);
    QCOMPARE(EngineRegistry::instance().contains(QStringLiteral("Orchard")), !removed);
    if (qid != -1) {
        // The query keeps its other engines and loses only this one.
        const int sids = int(CSearchEngineTable(m_store->doc.Database()).queryEngineSids(qid).size());
        QCOMPARE(sids, removed ? int(queryEngines.size()) - 1 : int(queryEngines.size()));
    }
}

void TestEnginesDialog::test_data()
{
    QTest::addColumn<QString>("engine");
    QTest::addColumn<QString>("templateText"); // empty: a built-in engine
    QTest::addColumn<QString>("word");
    QTest::addColumn<QString>("reason");       // empty: hits expected

    QTest::newRow("added Atom engine") << "Orchard" << "%H/feed/atom?q={searchTerms}&start={startIndex?}" << "apple" << "";
    QTest::newRow("added JSON over https") << "Orchard" << "%S/feed/json?q={searchTerms}&pageno={startPage}" << "apple" << "";
    QTest::newRow("built-in") << "AltaVista" << "" << "apple" << "";
    QTest::newRow("engine answers 404") << "Orchard" << "%H/feed/none?q={searchTerms}" << "apple" << "404";
    QTest::newRow("nobody listening") << "Orchard" << "http://127.0.0.1:1/feed?q={searchTerms}" << "apple" << "refused";
}

void TestEnginesDialog::test()
{
    QFETCH(QString, engine);
    QFETCH(QString, templateText);
    QFETCH(QString, word);
    QFETCH(QString, reason);

    if (!templateText.isEmpty()) {
        addEngine(engine, templateText.replace(QLatin1String("%H"), m_sim.httpBase()).replace(QLatin1String("%S"), m_sim.httpsBase()),
                  templateText.contains(QLatin1String("json")) ? QStringLiteral("json") : QStringLiteral("atom"));
    }
    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    engines.show();
    QCOMPARE(engines.testWordEdit()->text(), QStringLiteral("test"));
    QVERIFY(engines.selectEngine(engine));
    engines.testWordEdit()->setText(word);
    QTest::mouseClick(engines.testButton(), Qt::LeftButton);
    QVERIFY(engines.isTesting());
    QVERIFY(!engines.testButton()->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(!engines.isTesting(), kNetworkMs);
    QVERIFY(engines.testButton()->isEnabled());

    const QString result = engines.testResultLabel()->text();
    QCOMPARE(engines.testResultLabel()->textFormat(), Qt::PlainText);
    if (!reason.isEmpty()) {
        QVERIFY2(result.startsWith(QStringLiteral("Error!  %1 failed after ").arg(engine)), qPrintable(result));
        QVERIFY2(result.contains(reason, Qt::CaseInsensitive), qPrintable(result));
        QCOMPARE(engines.testHits()->topLevelItemCount(), 0);
        return;
    }
    const QRegularExpression shape(QStringLiteral("^%1: (\\d+) hits in \\d+ ms$").arg(engine));
    const QRegularExpressionMatch m = shape.match(result);
    QVERIFY2(m.hasMatch(), qPrintable(result));
    const int hits = m.captured(1).toInt();
    QVERIFY(hits > 0);
    QCOMPARE(engines.testHits()->topLevelItemCount(), qMin(hits, CEnginesDlg::kShownHits));
    const QTreeWidgetItem *first = engines.testHits()->topLevelItem(0);
    QVERIFY(!first->text(0).isEmpty());
    QVERIFY2(first->text(1).startsWith(QLatin1String("http")), qPrintable(first->text(1)));
    QVERIFY(m_store->prompt.messages.isEmpty());
}

void TestEnginesDialog::menuOpensTheDialog()
{
    CRunMonitor monitor(m_store->doc, m_store->doc.Query(), m_store->doc.ResultsSet(), m_store->prompt);
    CMainFrame frame(m_store->doc, *m_store->settings, monitor, m_store->prompt);
    QAction *engines = frame.action(ID_TOOLS_ENGINES);
    QVERIFY(engines);
    QCOMPARE(engines->text(), QStringLiteral("&Engines..."));
    QMenu *tools = nullptr;
    for (QAction *top : frame.menuBar()->actions()) {
        if (top->text() == QLatin1String("&Tools"))
            tools = top->menu();
    }
    QVERIFY(tools);
    QVERIFY(tools->actions().contains(engines));

    bool shown = false;
    m_driver->expect<CEnginesDlg>([&](CEnginesDlg *dialog) {
        shown = dialog->listedEngines().contains(QStringLiteral("Yahoo"));
        dialog->reject();
    });
    engines->trigger();
    QVERIFY(shown);
}

void TestEnginesDialog::wherePageFollowsTheEngines()
{
    // The sheet is made with the window, before any engine is added.
    CTrawlexPropertySheetQuery sheet;
    const QStringList seven = sheet.wherePage().engineNames();
    addEngine(QStringLiteral("Orchard"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}"));
    addEngine(QStringLiteral("Fruit & Co"), m_sim.httpBase() + QStringLiteral("/feed/rss?q={searchTerms}"), QStringLiteral("rss"));

    CTrawlexQuery query;
    query.m_strName = QStringLiteral("Apples");
    query.m_engines = {QStringLiteral("Excite"), QStringLiteral("Orchard")};
    sheet.FillFromQuery(query);
    CTrawlexPropertyPageWhere &where = sheet.wherePage();
    const QStringList added{QStringLiteral("Orchard"), QStringLiteral("Fruit & Co")};
    QCOMPARE(where.engineNames(), seven + added);
    QVERIFY(where.checkBox(QStringLiteral("Orchard"))->isChecked());
    QVERIFY(!where.checkBox(QStringLiteral("Fruit & Co"))->isChecked());
    QCOMPARE(where.checkBox(QStringLiteral("Fruit & Co"))->text(), QStringLiteral("Fruit && Co"));
    QCOMPARE(where.selectedEngines(), (QStringList{QStringLiteral("Excite"), QStringLiteral("Orchard")}));

    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    sheet.tabs()->setCurrentWidget(&where);
    QTest::qWait(30);
    QVERIFY(!save(sheet, QStringLiteral("engines-where-page.png")).isEmpty());
    QVERIFY(where.checkBox(QStringLiteral("Fruit & Co"))->isVisible());

    // A removed engine leaves the page at its next showing.
    QString error;
    QVERIFY(CUserEngines(m_store->doc.Database()).remove(QStringLiteral("Orchard"), false, &error));
    sheet.ResetPages();
    QVERIFY(!where.engineNames().contains(QStringLiteral("Orchard")));
    QVERIFY(!where.checkBox(QStringLiteral("Orchard")));
}

void TestEnginesDialog::screenshots()
{
    addEngine(QStringLiteral("Orchard Atom"), m_sim.httpBase() + QStringLiteral("/feed/atom?q={searchTerms}&start={startIndex?}"));
    addEngine(QStringLiteral("Fruit RSS"), m_sim.httpsBase() + QStringLiteral("/feed/rss?q={searchTerms}&page={startPage?}"),
              QStringLiteral("rss"));
    addEngine(QStringLiteral("Metasearch at home"), m_sim.httpsBase() + QStringLiteral("/searx/search?q={searchTerms}&format=json"),
              QStringLiteral("json"));

    CEnginesDlg engines(m_store->doc, *m_commands, m_store->prompt);
    engines.show();
    QVERIFY(QTest::qWaitForWindowExposed(&engines));
    QVERIFY(engines.selectEngine(QStringLiteral("Orchard Atom")));
    engines.testWordEdit()->setText(QStringLiteral("apple"));
    QTest::mouseClick(engines.testButton(), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(!engines.isTesting(), kNetworkMs);
    QTest::qWait(30);
    QVERIFY(!save(engines, QStringLiteral("engines-list-and-test.png")).isEmpty());

    CEngineAddDlg add(m_store->doc.Database(), m_store->prompt);
    add.show();
    QVERIFY(QTest::qWaitForWindowExposed(&add));
    add.addressEdit()->setText(m_sim.httpsBase() + QStringLiteral("/opensearch/atom.xml"));
    QTest::qWait(30);
    QVERIFY(!save(add, QStringLiteral("engines-add-source.png")).isEmpty());
    QVERIFY(next(add));
    QVERIFY(add.isReviewing());
    QTest::qWait(30);
    QVERIFY(!save(add, QStringLiteral("engines-add-review.png")).isEmpty());

    QString error;
    std::optional<EngineDefinition> mapped = EngineSources::fromTemplate(
        m_sim.httpBase() + QStringLiteral("/feed/json?q={searchTerms}&pageno={startPage}"), QStringLiteral("mapped"), &error);
    QVERIFY(mapped);
    mapped->name = QStringLiteral("Mapped results");
    mapped->mapping->resultsPath = QStringLiteral("results");
    mapped->mapping->addressPath = QStringLiteral("url");
    CEngineEditDlg edit(m_store->doc.Database(), m_store->prompt, *mapped);
    edit.show();
    QVERIFY(QTest::qWaitForWindowExposed(&edit));
    QTest::qWait(30);
    QVERIFY(!save(edit, QStringLiteral("engines-edit-mapped.png")).isEmpty());

    // Nothing is clipped: every button is at least as wide as it wants to be.
    for (QWidget *w : {static_cast<QWidget *>(&engines), static_cast<QWidget *>(&add), static_cast<QWidget *>(&edit)}) {
        for (QPushButton *b : w->findChildren<QPushButton *>()) {
            if (b->isVisible())
                QVERIFY2(b->width() >= b->sizeHint().width(), qPrintable(b->text()));
        }
    }
    add.reject();
}

QTEST_MAIN(TestEnginesDialog)
#include "tst_engines_dialog.moc"
