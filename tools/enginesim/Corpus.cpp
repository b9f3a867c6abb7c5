#include "Corpus.h"

#include "QueryExpression.h"

#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>
#include <random>

namespace {

struct Topic
{
    const char *category;
    const char *path; // directory path of the category, and of pages about it
    std::initializer_list<const char *> nouns;
    std::initializer_list<const char *> words;
};

// Written as UTF-8; the accented words let queries exercise encoded requests.
const Topic kTopics[] = {
    {"Recreation: Outdoors: Fishing", "fishing", {"Fly Fishing", "Trout", "Bass Fishing", "Tackle"},
     {"trout", "salmon", "lures", "rivers", "casting", "reels", "bait", "anglers"}},
    {"Recreation: Outdoors: Hiking", "hiking", {"Hiking", "Trails", "Backpacking", "Mountains"},
     {"trails", "boots", "summit", "maps", "camping", "wilderness", "backpack", "ridge"}},
    {"Computers and Internet: Software: Linux", "linux", {"Linux", "Kernel", "Slackware", "Unix"},
     {"kernel", "linux", "modules", "compile", "drivers", "shell", "unix", "distribution"}},
    {"Computers and Internet: Programming Languages: Java", "java", {"Java", "Applets", "Java Tutorial", "JDK"},
     {"java", "applets", "classes", "threads", "swing", "bytecode", "virtual", "machine"}},
    {"Computers and Internet: Internet: World Wide Web", "www", {"HTML", "Web Design", "CGI", "Web Servers"},
     {"html", "browser", "netscape", "frames", "cgi", "perl", "server", "hypertext"}},
    {"Computers and Internet: Hardware: Modems", "modems", {"Modems", "56K", "ISDN", "Dial-Up"},
     {"modem", "baud", "isdn", "dialup", "serial", "connection", "v34", "fax"}},
    {"Entertainment: Music: Jazz", "jazz", {"Jazz", "Bebop", "Swing", "Blue Note"},
     {"jazz", "saxophone", "trumpet", "bebop", "records", "improvisation", "quartet", "club"}},
    {"Entertainment: Movies and Film: Science Fiction", "scifi", {"Science Fiction", "Star Trek", "Space Films", "Sci-Fi"},
     {"starship", "aliens", "galaxy", "episodes", "robots", "future", "crew", "space"}},
    {"Entertainment: Games: Chess", "chess", {"Chess", "Openings", "Endgames", "Grandmasters"},
     {"chess", "openings", "gambit", "endgame", "tournament", "rating", "knight", "bishop"}},
    {"Society and Culture: Food and Drink: Coffee", "coffee", {"Coffee", "Espresso", "Café Guide", "Roasters"},
     {"coffee", "espresso", "café", "beans", "roasting", "cappuccino", "crème", "brewing"}},
    {"Society and Culture: Food and Drink: Cooking", "cooking", {"Recipes", "Cooking", "Baking", "Kitchen"},
     {"recipes", "baking", "bread", "soup", "kitchen", "smörgåsbord", "flour", "oven"}},
    {"Regional: Countries: Switzerland", "swiss", {"Switzerland", "Zürich", "Alps", "Geneva"},
     {"zürich", "geneva", "alps", "cantons", "banks", "chocolate", "swiss", "lakes"}},
    {"Regional: Countries: Germany", "germany", {"Germany", "München", "Berlin", "Bavaria"},
     {"münchen", "berlin", "bavaria", "rhine", "beer", "autobahn", "castles", "german"}},
    {"Science: Astronomy", "astronomy", {"Astronomy", "Telescopes", "Comets", "Planets"},
     {"telescope", "comet", "planets", "hubble", "stars", "nebula", "orbit", "eclipse"}},
    {"Science: Biology: Genetics", "genetics", {"Genetics", "DNA", "Genome", "Molecular Biology"},
     {"dna", "genes", "genome", "protein", "mutation", "cells", "sequencing", "chromosome"}},
    {"Science: Physics", "physics", {"Physics", "Quantum Mechanics", "Relativity", "Particles"},
     {"quantum", "relativity", "particles", "physics", "electron", "energy", "photon", "laser"}},
    {"Business and Economy: Companies: Automotive", "autos", {"Cars", "Auto Parts", "Dealers", "Motors"},
     {"cars", "engines", "dealers", "parts", "tires", "sedan", "mileage", "repair"}},
    {"Business and Economy: Finance: Investments", "invest", {"Investing", "Stocks", "Mutual Funds", "Bonds"},
     {"stocks", "bonds", "funds", "portfolio", "dividends", "market", "broker", "investment"}},
    {"Health: Fitness", "fitness", {"Fitness", "Running", "Aerobics", "Weight Training"},
     {"running", "exercise", "aerobics", "muscles", "diet", "marathon", "training", "stretching"}},
    {"Health: Medicine: Allergies", "allergy", {"Allergies", "Asthma", "Hay Fever", "Pollen"},
     {"allergy", "asthma", "pollen", "symptoms", "treatment", "inhaler", "sneezing", "dust"}},
    {"Arts: Photography", "photo", {"Photography", "Cameras", "Darkroom", "Portraits"},
     {"camera", "lenses", "film", "darkroom", "exposure", "portraits", "prints", "tripod"}},
    {"Arts: Literature: Poetry", "poetry", {"Poetry", "Poems", "Sonnets", "Haiku"},
     {"poems", "sonnets", "haiku", "verse", "poets", "rhyme", "stanza", "anthology"}},
    {"Education: Universities", "univ", {"University", "College", "Admissions", "Campus"},
     {"university", "campus", "students", "faculty", "admissions", "courses", "degree", "library"}},
    {"News and Media: Newspapers", "news", {"Newspapers", "Daily News", "Headlines", "Journalism"},
     {"newspaper", "headlines", "editorial", "reporters", "journalism", "daily", "press", "columns"}},
    {"Recreation: Travel: Airlines", "travel", {"Airlines", "Travel", "Airfare", "Flights"},
     {"flights", "airfare", "airport", "tickets", "travel", "hotels", "vacation", "luggage"}},
    {"Recreation: Pets: Dogs", "dogs", {"Dogs", "Terriers", "Puppies", "Dog Training"},
     {"dogs", "puppies", "terrier", "breeds", "kennel", "training", "leash", "retriever"}},
    {"Recreation: Pets: Cats", "cats", {"Cats", "Kittens", "Siamese", "Cat Care"},
     {"cats", "kittens", "siamese", "litter", "feline", "whiskers", "breeders", "persian"}},
    {"Recreation: Sports: Soccer", "soccer", {"Soccer", "World Cup", "Football Clubs", "Goalkeeping"},
     {"soccer", "goals", "league", "players", "worldcup", "referee", "stadium", "striker"}},
    {"Government: Law", "law", {"Law", "Legal Resources", "Courts", "Attorneys"},
     {"law", "courts", "attorney", "statutes", "legal", "judges", "copyright", "patents"}},
    {"Science: Earth Sciences: Weather", "weather", {"Weather", "Forecasts", "Hurricanes", "El Niño"},
     {"weather", "forecast", "hurricane", "tornado", "rainfall", "niño", "climate", "radar"}},
};

const char *const kKinds[] = {"Home Page", "Resources", "Guide", "FAQ", "Links", "Archive",
                              "Page", "Club", "Online", "Index", "Center", "Network"};
const char *const kOwners[] = {"Bill's", "The Unofficial", "Mary's", "Dave's", "The Complete",
                               "Our", "The Virtual", "Jim's", "The Ultimate", "Karen's", "The"};
const char *const kCommon[] = {"information", "pictures", "links", "news", "history", "tips",
                               "articles", "software", "reviews", "clubs", "events", "resources",
                               "archive", "questions", "guide", "catalog"};
const char *const kSyllables[] = {"al", "bor", "cal", "den", "el", "fin", "gar", "hol", "ir",
                                  "jun", "kel", "lor", "mar", "nel", "or", "pen", "quin", "ros",
                                  "sil", "tor", "ul", "ven", "wil", "xan", "yor", "zen"};
const char *const kTlds[] = {"com", "com", "com", "org", "net", "edu", "de", "ch", "co.uk", "se"};
const char *const kHostStarts[] = {"www.", "www.", "www.", "home.", "members.", "users.", ""};

// std::mt19937's sequence is fixed by the standard, unlike the distributions.
class Dice
{
public:
    explicit Dice(quint32 seed) : m_engine(seed) {}
    int roll(int n) { return int(m_engine() % quint32(n)); }
    template <typename T, std::size_t N>
    const T &pick(const T (&items)[N]) { return items[roll(int(N))]; }
    const char *pick(std::initializer_list<const char *> items) { return items.begin()[roll(int(items.size()))]; }

private:
    std::mt19937 m_engine;
};

QString capitalised(const QString &word)
{
    return word.isEmpty() ? word : word.left(1).toUpper() + word.mid(1);
}

void finish(SimDocument &doc)
{
    doc.host = Corpus::hostOf(doc.url);
    doc.lowerUrl = doc.url.toLower();
    doc.titleWords = Corpus::words(doc.title);
    doc.summaryWords = Corpus::words(doc.summary);
    doc.titleIds.clear();
    doc.summaryIds.clear();
    for (const QString &word : std::as_const(doc.titleWords))
        doc.titleIds.append(Corpus::wordId(word, true));
    for (const QString &word : std::as_const(doc.summaryWords))
        doc.summaryIds.append(Corpus::wordId(word, true));
    doc.lowerLinks.clear();
    doc.linkHosts.clear();
    for (const QString &link : std::as_const(doc.links)) {
        doc.lowerLinks.append(link.toLower());
        doc.linkHosts.append(Corpus::hostOf(link));
    }
}

} // namespace

Corpus Corpus::generate(int count, quint32 seed)
{
    Dice dice(seed);
    QStringList hosts;
    for (int i = 0; i < 400; ++i) {
        QString name;
        const int parts = 2 + dice.roll(2);
        for (int p = 0; p < parts; ++p)
            name += QLatin1String(dice.pick(kSyllables));
        hosts.append(QLatin1String(dice.pick(kHostStarts)) + name + '.' + QLatin1String(dice.pick(kTlds)));
    }

    Corpus corpus;
    for (int i = 0; i < count; ++i) {
        const Topic &topic = dice.pick(kTopics);
        SimDocument doc;
        const QString noun = QString::fromUtf8(dice.pick(topic.nouns));
        doc.title = QString::fromUtf8(dice.pick(kOwners)) + ' ' + noun + ' ' + QLatin1String(dice.pick(kKinds));

        QStringList said;
        const int wordCount = 3 + dice.roll(4);
        for (int w = 0; w < wordCount; ++w)
            said.append(QString::fromUtf8(dice.pick(topic.words)));
        said.removeDuplicates();
        const QString common = QLatin1String(dice.pick(kCommon));
        const QString other = QLatin1String(dice.pick(kCommon));
        doc.summary = capitalised(common) + " about " + noun.toLower() + ": " + said.join(", ")
                      + ". Updated weekly with " + other + " and links to other "
                      + QString::fromUtf8(dice.pick(topic.words)) + " pages.";

        const QString &host = hosts.at(dice.roll(int(hosts.size())));
        QString path = QLatin1String(topic.path);
        if (host.startsWith(QLatin1String("members.")) || host.startsWith(QLatin1String("users.")))
            path = '~' + QLatin1String(dice.pick(kSyllables)) + QLatin1String(dice.pick(kSyllables)) + '/' + path;
        const QUrl url(QStringLiteral("http://%1/%2/%3%4.html").arg(host, path, said.first().toLower()).arg(i));
        doc.url = QString::fromLatin1(url.toEncoded());
        doc.category = QString::fromUtf8(topic.category);
        corpus.m_documents.append(doc);
    }

    // Links point at earlier and later pages, mostly within the same topic.
    const int size = int(corpus.m_documents.size());
    for (int i = 0; i < size; ++i) {
        SimDocument &doc = corpus.m_documents[i];
        const int linkCount = 2 + dice.roll(4);
        for (int l = 0; l < linkCount && size > 1; ++l) {
            int target = dice.roll(size);
            if (target == i)
                target = (target + 1) % size;
            doc.links.append(corpus.m_documents.at(target).url);
        }
        finish(doc);
    }
    return corpus;
}

bool Corpus::loadJsonLines(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return false;
    }
    int lineNumber = 0;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        ++lineNumber;
        if (line.isEmpty() || line.startsWith('#'))
            continue;
        QJsonParseError parseError;
        const QJsonDocument json = QJsonDocument::fromJson(line, &parseError);
        if (!json.isObject()) {
            *error = QStringLiteral("%1:%2: not a JSON object (%3)")
                         .arg(path).arg(lineNumber).arg(parseError.errorString());
            return false;
        }
        const QJsonObject object = json.object();
        SimDocument doc;
        doc.title = object.value(QLatin1String("title")).toString();
        doc.summary = object.value(QLatin1String("summary")).toString();
        doc.category = object.value(QLatin1String("category")).toString();
        const QUrl url(object.value(QLatin1String("url")).toString());
        if (!url.isValid() || url.host().isEmpty()) {
            *error = QStringLiteral("%1:%2: \"url\" must be an absolute address").arg(path).arg(lineNumber);
            return false;
        }
        // Encoded, so that a quote or blank can never end the address early in a page.
        doc.url = QString::fromLatin1(url.toEncoded());
        const QJsonArray links = object.value(QLatin1String("links")).toArray();
        for (const QJsonValue &link : links)
            doc.links.append(QString::fromLatin1(QUrl(link.toString()).toEncoded()));
        add(doc);
    }
    return true;
}

void Corpus::add(SimDocument doc)
{
    finish(doc);
    m_documents.append(std::move(doc));
}

QStringList Corpus::words(const QString &text)
{
    QStringList result;
    QString current;
    for (const QChar c : text) {
        if (c.isLetterOrNumber()) {
            current += c.toLower();
        } else if (!current.isEmpty()) {
            result.append(current);
            current.clear();
        }
    }
    if (!current.isEmpty())
        result.append(current);
    return result;
}

int Corpus::wordId(const QString &word, bool create)
{
    // The simulator answers on one thread, so one table serves all corpora.
    static QHash<QString, int> vocabulary;
    const auto found = vocabulary.constFind(word);
    if (found != vocabulary.constEnd())
        return *found;
    if (!create)
        return -1;
    const int id = int(vocabulary.size());
    vocabulary.insert(word, id);
    return id;
}

QString Corpus::hostOf(const QString &url)
{
    return QUrl(url).host().toLower();
}

QList<Corpus::Hit> Corpus::search(const QueryExpression &expression) const
{
    QList<Hit> hits;
    if (expression.isEmpty())
        return hits;
    for (int i = 0; i < int(m_documents.size()); ++i) {
        const SimDocument &doc = m_documents.at(i);
        if (expression.matches(doc))
            hits.append({i, expression.score(doc)});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const Hit &a, const Hit &b) { return a.score > b.score; });
    return hits;
}
