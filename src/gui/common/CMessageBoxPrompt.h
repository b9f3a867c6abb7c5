#pragma once

#include "app/IUserPrompt.h"

#include <QPointer>

class QWidget;

// The desktop program's answer to IUserPrompt: modal message boxes captioned with the
// application title, parented to the given window (or the active one).
class CMessageBoxPrompt final : public IUserPrompt
{
public:
    explicit CMessageBoxPrompt(QWidget *parent = nullptr);

    void setParentWidget(QWidget *parent);

    void showMessage(const QString &text) override;
    bool askYesNo(const QString &text) override;

private:
    QWidget *owner() const;

    QPointer<QWidget> m_pParent;
};
