#pragma once

#include <QDialog>

class CTrawlexSettings;

// "Do you dial into the internet or have a direct connection?": "Direct or AOL" accepts,
// "Dial-Up" rejects, and so does closing the window.
class CConnectionDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CConnectionDlg(QWidget *parent = nullptr);

    // Shows the dialog and stores the answer in the settings; true for a direct connection.
    static bool AskAndStore(CTrawlexSettings &settings, QWidget *parent = nullptr);
};
