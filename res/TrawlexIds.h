#pragma once

// Every numeric identifier the program names: commands, controls, dialogs, bitmaps and
// strings. Widgets carry their identifier as objectName (QString::number(id)), so tests and
// accessibility tools find them the way the original found them by number. Control numbers
// repeat between dialogs, as they always did; the prefix says which dialog a name belongs to.

namespace TrawlexIds {

// Resources shared by the main window: menu, accelerators, icon, toolbar.
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDB_TREE_IMAGES = 132; // five 16 x 15 images for the query tree
inline constexpr int IDD_ABOUTBOX = 100;

// Strings.
inline constexpr int IDS_SETUP_QUERY = 102;            // "Set Up Query"
inline constexpr int IDS_SOCKETS_INIT_FAILED = 104;    // "Windows sockets initialization failed."
inline constexpr int AFX_IDS_APP_TITLE = 57344;        // "Trawlex"

// Commands (menu items, toolbar buttons, accelerators).
inline constexpr int ID_FILE_NEW = 57600;              // "&New Query\tCtrl+N"
inline constexpr int ID_FILE_OPEN = 57601;             // "&Open Query\tCtrl+O"
inline constexpr int ID_FILE_UPDATE = 57610;           // "&Update Query"
inline constexpr int ID_FILE_EXPORT = 32850;           // "&Export..."
inline constexpr int ID_PREFERENCES = 114;             // "&Preferences"
inline constexpr int ID_APP_EXIT = 57665;              // "E&xit"
inline constexpr int ID_EDIT_DELETE = 110;             // "D&elete\tDel"
inline constexpr int ID_VIEW_TOOLBAR = 59392;          // "&Toolbar"
inline constexpr int ID_VIEW_NAME = 32831;             // "&Name View"
inline constexpr int ID_VIEW_SITE = 32829;             // "&Site View"
inline constexpr int ID_VIEW_KEYWORD = 32833;          // "&Keyword View"
inline constexpr int ID_VIEW_TIME = 32832;             // "&Time View"
inline constexpr int ID_HELP_FAQ = 32844;              // "&Help"
inline constexpr int ID_APP_ABOUT = 57664;             // "&About Trawlex..."
inline constexpr int ID_INTERNET_CONNECTION = 32845;   // "&Internet Connection"
inline constexpr int ID_CHECK_VERSION = 32846;         // "&Check Version"
inline constexpr int ID_TOOLS_ENGINES = 32847;         // "&Engines..."
inline constexpr int ID_STOP = 112;                    // toolbar only
inline constexpr int ID_NEXT_PANE = 57680;             // F6
inline constexpr int ID_PREV_PANE = 57681;             // Shift+F6
// Outside the range below: the panel is wanted most while a query runs.
inline constexpr int ID_VIEW_ENGINE_STATUS = 59400;    // "&Engine Status"

// The commands whose enabling follows a running query (both ends included).
inline constexpr int ID_UPDATE_UI_FIRST = 100;
inline constexpr int ID_UPDATE_UI_LAST = 57612;
// The view switch handles this range; only the four view ids above are used in it.
inline constexpr int ID_VIEW_FIRST = 32829;
inline constexpr int ID_VIEW_LAST = 32833;

// Main frame.
inline constexpr int IDC_CURRENT_VIEW = 109;           // the toolbar's view label (and its slot)
inline constexpr int AFX_IDW_TOOLBAR = 59392;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_PANE_FIRST = 59648;
inline constexpr int IDC_QUERY_TREE = AFX_IDW_PANE_FIRST;        // splitter pane (0,0)
inline constexpr int IDC_RESULTS_VIEW = AFX_IDW_PANE_FIRST + 1;  // splitter pane (0,1)

// Standard dialog buttons.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int ID_APPLY_NOW = 0x3021;

// Results view.
inline constexpr int IDC_MORE = 201;
inline constexpr int IDC_PREVIOUS = 202;
inline constexpr int IDC_BROWSE_FIRST = 50000;         // "Browse" of hit i is 50000 + i

// Query property sheet pages (dialog templates).
inline constexpr int IDD_PAGE_NAME = 103;
inline constexpr int IDD_PAGE_KEYWORDS = 105;
inline constexpr int IDD_PAGE_GROUPS = 106;
inline constexpr int IDD_PAGE_WHERE = 107;
inline constexpr int IDD_PAGE_FILTERS = 108;
inline constexpr int IDD_VIEW_SOURCE = 140;

// Name page.
inline constexpr int IDC_NAME_EDIT = 1000;
inline constexpr int IDC_NAME_VIEW_SOURCE = 1007;

// Keywords page.
inline constexpr int IDC_KEYWORDS_VISIBLE_LIST = 1002;
inline constexpr int IDC_KEYWORDS_EDIT = 1008;
inline constexpr int IDC_KEYWORDS_INCLUDE = 1010;
inline constexpr int IDC_KEYWORDS_EXCLUDE = 1011;
inline constexpr int IDC_KEYWORDS_OPTIONAL = 1012;
inline constexpr int IDC_KEYWORDS_ADD = 1013;
inline constexpr int IDC_KEYWORDS_REMOVE = 1014;
inline constexpr int IDC_KEYWORDS_HIDDEN_LIST = 1028;

// Groups page.
inline constexpr int IDC_GROUPS_ADD_GROUP = 1003;
inline constexpr int IDC_GROUPS_REMOVE_GROUP = 1004;
inline constexpr int IDC_GROUPS_MEMBER_INCLUDE = 1005;
inline constexpr int IDC_GROUPS_MEMBER_EXCLUDE = 1006;
inline constexpr int IDC_GROUPS_MEMBER_OPTIONAL = 1007;
inline constexpr int IDC_GROUPS_ADD_MEMBER = 1008;
inline constexpr int IDC_GROUPS_MEMBER_LIST = 1009;
inline constexpr int IDC_GROUPS_REMOVE_MEMBER = 1010;
inline constexpr int IDC_GROUPS_HIDDEN_MEMBERS = 1011;
inline constexpr int IDC_GROUPS_NAME_COMBO = 1015;
inline constexpr int IDC_GROUPS_MEMBER_EDIT = 1016;
inline constexpr int IDC_GROUPS_GROUP_INCLUDE = 1017;
inline constexpr int IDC_GROUPS_GROUP_EXCLUDE = 1018;
inline constexpr int IDC_GROUPS_GROUP_OPTIONAL = 1019;
inline constexpr int IDC_GROUPS_HIDDEN_GROUPS = 1030;

// Where (engines) page.
inline constexpr int IDC_WHERE_ALTAVISTA = 1017;
inline constexpr int IDC_WHERE_EXCITE = 1019;
inline constexpr int IDC_WHERE_HOTBOT = 1021;
inline constexpr int IDC_WHERE_INFOSEEK = 1023;
inline constexpr int IDC_WHERE_LYCOS = 1024;
inline constexpr int IDC_WHERE_MAGELLAN = 1027;
inline constexpr int IDC_WHERE_OPENTEXT = 1028;  // hidden
inline constexpr int IDC_WHERE_WEBCRAWLER = 1029; // hidden
inline constexpr int IDC_WHERE_WORM = 1030;       // hidden
inline constexpr int IDC_WHERE_YAHOO = 1031;

// Filters page.
inline constexpr int IDC_FILTERS_TYPE_COMBO = 1018;
inline constexpr int IDC_FILTERS_VISIBLE_LIST = 1019;
inline constexpr int IDC_FILTERS_ADD = 1020;
inline constexpr int IDC_FILTERS_REMOVE = 1021;
inline constexpr int IDC_FILTERS_INCLUDE = 1022;
inline constexpr int IDC_FILTERS_EXCLUDE = 1023;
inline constexpr int IDC_FILTERS_OPTIONAL = 1024;
inline constexpr int IDC_FILTERS_EDIT = 1025;
inline constexpr int IDC_FILTERS_HIDDEN_LIST = 1029;

// "View Source" dialog.
inline constexpr int IDC_VIEW_SOURCE_TEXT = 1032;

// Preferences, connection and version dialogs.
inline constexpr int IDD_PREFERENCES = 187;
inline constexpr int IDC_PREF_MAX_DELAY = 1035;
inline constexpr int IDC_PREF_MAX_CONNS = 1036;
inline constexpr int IDC_PREF_MAX_DAYS = 1037;
inline constexpr int IDD_CONNECTION = 194;
inline constexpr int IDD_CHECK_VERSION = 195;
inline constexpr int IDD_NEW_VERSION = 196;
inline constexpr int IDC_NEW_VERSION_LINE = 1042;
inline constexpr int IDC_NEW_VERSION_FEATURES = 1044;
inline constexpr int IDC_NEW_VERSION_PRESS = 1045;

// Timers.
inline constexpr int ID_TIMER_RUN = 1; // the main frame's run timer

} // namespace TrawlexIds
