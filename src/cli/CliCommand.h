#pragma once

#include <QString>
#include <QStringList>

// A sub-command of trawlex-cli. Each command lives in its own source file and registers
// itself with a static CliCommandRegistration, so adding a command touches no other file.
struct CliCommand
{
    QString name;
    QString summary; // one line for the overall help
    // Receives the arguments after the command name; returns the exit status
    // (0 success, 1 database or run failure, 2 bad input).
    int (*run)(const QStringList &args) = nullptr;
};

class CliCommandRegistration final
{
public:
    explicit CliCommandRegistration(const CliCommand &command);
    static const QList<CliCommand> &commands();
};
