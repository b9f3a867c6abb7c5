#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QObject>
#include <QStringList>
#include <QTimer>

// Answers the message boxes the program shows with OK and keeps their texts, so that a test
// of the desktop program never waits for input.
class MessageBoxCloser final : public QObject
{
public:
    explicit MessageBoxCloser(QObject *parent)
        : QObject(parent)
    {
        connect(&m_timer, &QTimer::timeout, this, &MessageBoxCloser::poll);
        m_timer.start(20);
    }
    QStringList texts;

private:
    void poll()
    {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            texts << box->text();
            box->done(QMessageBox::Ok);
        }
    }
    QTimer m_timer;
};
