#include "common/CTypedCharacterFilter.h"

#include <QKeyEvent>

CTypedCharacterFilter::CTypedCharacterFilter(QString refused, QObject *parent)
    : QObject(parent)
    , m_strRefused(std::move(refused))
{
}

bool CTypedCharacterFilter::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const QString text = key->text();
        if (text.size() == 1 && m_strRefused.contains(text.at(0)))
            return true;
    }
    return QObject::eventFilter(watched, event);
}
