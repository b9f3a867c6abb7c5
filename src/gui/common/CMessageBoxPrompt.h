#pragma once

#include "app/IDatabaseErrorPrompt.h"
#include "app/IUserPrompt.h"

#include <QPointer>

class QWidget;

// The desktop program's answer to IUserPrompt: modal message boxes captioned with the
// application title, parented to the given window (or the active one). A database that
// another program holds locked is explained in words; other database failures keep the
// report.
class CMessageBoxPrompt final : public IUserPrompt, public IDatabaseErrorPrompt
{
public:
    explicit CMessageBoxPrompt(QWidget *parent = nullptr);

    void setParentWidget(QWidget *parent);

    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;
    void showDatabaseError(const CDaoException &e) override;

    static QString DatabaseInUseText();

private:
    QWidget *owner() const;

    QPointer<QWidget> m_pParent;
};
