-- tx.mdb: the tables of Trawlex and its search engines.
-- The build runs this through sqlite3 to make the pre-built tx.mdb; trawlex-cli initdb runs the
-- same text from the program's resources. The program itself creates or alters a table only to
-- bring an older tx.mdb up to this schema (CSchemaMigration), whose version is user_version.
--
-- Kept from the original Jet file:
--  * keys are AUTOINCREMENT counters: they only grow and a deleted key is never handed out again;
--  * text comparisons ignore letter case (COLLATE NOCASE on the text columns);
--  * [Query Content].KID/GID/FID default to -1, the "no owner" value the keyword view relies on;
--  * [Main Query].LastRetrievalDate is filled with the local time of insertion.
-- Added: every table that carries a QID refers to [Main Query] with ON DELETE CASCADE, so
-- deleting a query takes its keywords, results, pages and Yahoo path with it (the keyword and
-- site views would otherwise list words and sites of deleted queries). KID/GID/FID are not
-- declared as foreign keys because -1 is a legal "none" there; their rows go with the QID.

PRAGMA foreign_keys = ON;

CREATE TABLE [Main Query] (
    QID               INTEGER PRIMARY KEY AUTOINCREMENT,
    QName             TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    Level             INTEGER NOT NULL DEFAULT 0,
    SearchEngineLevel TEXT    NOT NULL DEFAULT ' ' COLLATE NOCASE,
    Done              INTEGER NOT NULL DEFAULT 0,
    -- Milliseconds keep two saves within one second in insertion order.
    LastRetrievalDate TEXT    NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))
);
CREATE INDEX [Main Query Name] ON [Main Query] (QName);
CREATE INDEX [Main Query Date] ON [Main Query] (LastRetrievalDate);

CREATE TABLE [Search Engine] (
    SID     INTEGER PRIMARY KEY AUTOINCREMENT,
    SName   TEXT    NOT NULL COLLATE NOCASE,
    URL     TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    filters INTEGER NOT NULL DEFAULT 0,
    groups  INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE [Query Engines] (
    QID INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    SID INTEGER NOT NULL REFERENCES [Search Engine] (SID)
);
CREATE INDEX [Query Engines QID] ON [Query Engines] (QID);

CREATE TABLE [Query Filter] (
    FID   INTEGER PRIMARY KEY AUTOINCREMENT,
    QID   INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    FType TEXT    NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX [Query Filter QID] ON [Query Filter] (QID);

CREATE TABLE [Query Keyword] (
    KID INTEGER PRIMARY KEY AUTOINCREMENT,
    QID INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE
);
CREATE INDEX [Query Keyword QID] ON [Query Keyword] (QID);

CREATE TABLE [Query Group] (
    GID    INTEGER PRIMARY KEY AUTOINCREMENT,
    QID    INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    Qualif TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    GName  TEXT    NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX [Query Group QID] ON [Query Group] (QID);

CREATE TABLE [Query Content] (
    QID     INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    KID     INTEGER NOT NULL DEFAULT -1,
    GID     INTEGER NOT NULL DEFAULT -1,
    FID     INTEGER NOT NULL DEFAULT -1,
    Qualif  TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    KeyWord TEXT    NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX [Query Content QID] ON [Query Content] (QID);
CREATE INDEX [Query Content KID] ON [Query Content] (KID);
CREATE INDEX [Query Content GID] ON [Query Content] (GID);
CREATE INDEX [Query Content FID] ON [Query Content] (FID);

-- Engines: the engines that returned the hit, the first finder first, as a JSON array of
-- names; empty text where they are not known (hits stored before they were kept).
CREATE TABLE [Query Results] (
    QID     INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    Title   TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    URL     TEXT    NOT NULL DEFAULT '' COLLATE NOCASE,
    Summary TEXT    NOT NULL DEFAULT ' ' COLLATE NOCASE,
    bUpdate INTEGER NOT NULL DEFAULT 0,
    Engines TEXT    NOT NULL DEFAULT ''
);
CREATE INDEX [Query Results QID] ON [Query Results] (QID);

-- Visits are per address, not per query: no QID here.
CREATE TABLE [Query Results Date] (
    URL         TEXT NOT NULL COLLATE NOCASE,
    DateCreated TEXT NOT NULL DEFAULT (strftime('%Y-%m-%d %H:%M:%f', 'now', 'localtime'))
);
CREATE INDEX [Query Results Date URL] ON [Query Results Date] (URL);
-- Expired visits are deleted by date at every page build.
CREATE INDEX [Query Results Date Day] ON [Query Results Date] (DateCreated);

CREATE TABLE [Pages] (
    QID        INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    nViewLevel INTEGER NOT NULL,
    nLimit     INTEGER NOT NULL
);
CREATE INDEX [Pages QID] ON [Pages] (QID, nViewLevel);

CREATE TABLE [Yahoo] (
    QID INTEGER NOT NULL REFERENCES [Main Query] (QID) ON DELETE CASCADE,
    URL TEXT    NOT NULL DEFAULT '' COLLATE NOCASE
);
CREATE INDEX [Yahoo QID] ON [Yahoo] (QID);

-- Engines the user added (OpenSearch descriptions, metasearch instances, templates): what the
-- [Search Engine] row of the same SID cannot hold. Their [Search Engine] row keeps the name, the
-- results address (URL) and filters = groups = 1: the program applies groups and filters to their
-- hits itself.
--   Format       atom, rss, json (a metasearch instance's results) or mapped (JSON by Mapping)
--   Template     the results address with its {searchTerms}, {startPage}, ... parameters
--   Method       GET or POST; Params are the form fields of a POST (a JSON array of [name, value])
--   IndexOffset / PageOffset / PageSize   the description's paging
--   Operators    which of intitle: inurl: site: the engine takes, blank-separated
--   Mapping      for mapped JSON: {"results": path, "title": path, "url": path, "summary": path}
--   Source       where it was added from (a description's address or file, or an instance)
CREATE TABLE [Engine Definition] (
    SID           INTEGER PRIMARY KEY REFERENCES [Search Engine] (SID) ON DELETE CASCADE,
    Format        TEXT    NOT NULL,
    Template      TEXT    NOT NULL,
    Method        TEXT    NOT NULL DEFAULT 'GET',
    Params        TEXT    NOT NULL DEFAULT '[]',
    IndexOffset   INTEGER NOT NULL DEFAULT 1,
    PageOffset    INTEGER NOT NULL DEFAULT 1,
    PageSize      INTEGER NOT NULL DEFAULT 10,
    Operators     TEXT    NOT NULL DEFAULT '',
    Mapping       TEXT    NOT NULL DEFAULT '',
    Description   TEXT    NOT NULL DEFAULT '',
    InputEncoding TEXT    NOT NULL DEFAULT 'UTF-8',
    Source        TEXT    NOT NULL DEFAULT ''
);

PRAGMA user_version = 2;

-- The engines. URL is the host, "/" and the path the request tail is appended to.
-- filters / groups: an engine takes keyword groups only if its request builder has a run for
-- group words, and filters only if it has a run for filter words; otherwise the query sheet
-- refuses the query rather than sending words the engine would drop.
--   AltaVista     groups and filters (runs for both).
--   Excite        groups only: no filter run.
--   HotBot        groups and filters (its filter run maps them to domain:, title:, link:).
--   HotBotRepeat  as HotBot: the repeated request after HotBot's redirect; only its host is used.
--   InfoSeek      filters only: no group run, group words would be sent as plain words.
--   Lycos         groups only: no filter run.
--   Magellan      groups only: no filter run.
--   Yahoo         filters only (t: and url:): no group run.
INSERT INTO [Search Engine] (SName, URL, filters, groups) VALUES
    ('AltaVista',    'altavista.digital.com/cgi-bin/query', 1, 1),
    ('Excite',       'www.excite.com/search.gw',            0, 1),
    ('HotBot',       'www.hotbot.com/',                     1, 1),
    ('HotBotRepeat', 'www.search.hotbot.com/',              1, 1),
    ('InfoSeek',     'www.infoseek.com/',                   1, 0),
    ('Lycos',        'www.lycos.com/',                      0, 1),
    ('Magellan',     'www.mckinley.com/',                   0, 1),
    ('Yahoo',        'search.yahoo.com/',                   1, 0);
