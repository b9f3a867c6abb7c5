#pragma once

#include <QDialog>

// The About box: the program's name, icon and version.
class CAboutDlg final : public QDialog
{
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget *parent = nullptr);
};
