#pragma once

#include <QObject>
#include <QString>

// Swallows key presses that would type one of the refused characters into the widgets it is
// installed on. Pasted text is not filtered: the stored text is bound, never spliced into SQL.
class CTypedCharacterFilter final : public QObject
{
    Q_OBJECT
public:
    CTypedCharacterFilter(QString refused, QObject *parent);

    const QString &refused() const { return m_strRefused; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QString m_strRefused;
};
