#pragma once

#include <QString>

// The one way the core talks to the user: the desktop program answers with message boxes,
// the command line with stderr and its flags, tests with a recording fake.
class IUserPrompt
{
public:
    virtual ~IUserPrompt() = default;

    // A modal notice with an OK button.
    virtual void showMessage(const QString &text) = 0;
    // A Yes/No question; Yes gives true.
    virtual bool askYesNo(const QString &text) = 0;
};
