#include "CliCommand.h"
#include "app/ProgramThreads.h"

#include <QCoreApplication>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

QList<CliCommand> &registry()
{
    static QList<CliCommand> commands;
    return commands;
}

void printUsage(FILE *to)
{
    QTextStream out(to);
    out << "Usage: trawlex-cli COMMAND [ARGUMENTS] [--db PATH]\n\n"
        << "Works on tx.mdb in the current directory unless --db PATH is given.\n"
        << "Commands (each takes --help):\n";
    QList<CliCommand> sorted = registry();
    std::sort(sorted.begin(), sorted.end(),
              [](const CliCommand &a, const CliCommand &b) { return a.name < b.name; });
    for (const CliCommand &c : sorted)
        out << "  " << c.name.leftJustified(10) << ' ' << c.summary << '\n';
}

} // namespace

CliCommandRegistration::CliCommandRegistration(const CliCommand &command)
{
    registry().append(command);
}

const QList<CliCommand> &CliCommandRegistration::commands()
{
    return registry();
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName(QStringLiteral("Quorvel Software"));
    QCoreApplication::setApplicationName(QStringLiteral("Trawlex"));

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        printUsage(stderr);
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") || name == QLatin1String("help")) {
        printUsage(stdout);
        return 0;
    }
    for (const CliCommand &c : registry()) {
        if (c.name == name) {
            const int code = c.run(args);
            ProgramThreads::WaitForEnd();
            return code;
        }
    }
    QTextStream(stderr) << "trawlex-cli: unknown command \"" << name << "\"\n";
    printUsage(stderr);
    return 2;
}
