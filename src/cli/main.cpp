// vellmore-cli: Vellmore's operations from a console, for people and for scripts.
#include "CliContext.h"

#include "platform/Platform.h"

#include <QCoreApplication>

#include <cstdio>
#include <cstring>

namespace {

const char* const usage =
    "usage: vellmore-cli COMMAND [OPTIONS] [ARGUMENTS]   (vellmore-cli help COMMAND for each)\n"
    "  info GAME...                          each game's header, whether it checks, its save type\n"
    "  compile --loader FILE --output PATH [--chip MBIT] GAME...\n"
    "                                        the multirom, and where each piece lies in it\n"
    "  flash --tool PATH [--no-header-repair] MULTIROM\n"
    "  backup-save --tool PATH --bank 1..4 --size 32K|64K|128K|256K [--force] OUTPUT\n"
    "  restore-save --tool PATH --bank 1..4 FILE\n"
    "  backup-cart --tool PATH --chip 8|16|32|64|128|256 [--force] OUTPUT\n"
    "                                        the tool's operations; also --port 1..4, --no-epp, --wait N\n"
    "  verify --tool PATH --chip MBIT MULTIROM [--loader FILE GAME...]\n                                        reads "
    "the cart back and compares it\n"
    "  doctor [--tool PATH] [--port N]       checks the tool and the port\n"
    "  help COMMAND, --version\n"
    "Every command takes --json (one JSON object on standard output). Exit codes: 0 done, 1 failed,\n"
    "2 a bad argument, 128+N stopped by signal N (130 Ctrl+C, 143 SIGTERM, 129 SIGHUP).\n";

int dispatch(const QString& command, const QStringList& rest)
{
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        (command == QLatin1String("help") && rest.isEmpty())) {
        std::fputs(usage, stdout);
        return cli::Done;
    }
    if (command == QLatin1String("--version")) {
        std::fputs("vellmore-cli " VELLMORE_VERSION "\n", stdout);
        return cli::Done;
    }
    // "help CMD" is "CMD --help".
    if (command == QLatin1String("help") && rest.size() == 1)
        return dispatch(rest.first(), {QStringLiteral("--help")});
    if (command == QLatin1String("info"))
        return cli::infoCommand(rest);
    if (command == QLatin1String("compile"))
        return cli::compileCommand(rest);
    if (command == QLatin1String("flash"))
        return cli::flashCommand(rest);
    if (command == QLatin1String("backup-save"))
        return cli::backupSaveCommand(rest);
    if (command == QLatin1String("restore-save"))
        return cli::restoreSaveCommand(rest);
    if (command == QLatin1String("backup-cart"))
        return cli::backupCartCommand(rest);
    if (command == QLatin1String("verify"))
        return cli::verifyCommand(rest);
    if (command == QLatin1String("doctor"))
        return cli::doctorCommand(rest);
    const QString why =
        command.isEmpty() ? QStringLiteral("name a command") : QStringLiteral("no such command: ") + command;
    std::fprintf(stderr, "vellmore-cli: %s\n", why.toUtf8().constData());
    std::fputs(usage, stderr);
    cli::printRefusalObject(command, QStringList{command} + rest, why);
    return cli::BadArguments;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    platform::ignoreWriteSignals(); // a closed standard output is an error to report, not the end
    // A name that is not valid text in this system's encoding would reach the core as another name
    // ("there is no such file"): refused by name, as the window refuses one.
    for (int i = 1; i < argc; ++i) {
        if (!platform::nameSurvivesDecoding(argv[i], std::strlen(argv[i]))) {
            std::fprintf(stderr, "vellmore-cli: %s is not valid text in this system's encoding: rename it\n", argv[i]);
            const QStringList args = QCoreApplication::arguments();
            cli::printRefusalObject(args.value(1), args.mid(1),
                                    args.value(i) + QStringLiteral(" is not valid text in this system's encoding: "
                                                                   "rename it"));
            return cli::BadArguments;
        }
    }
    const QStringList args = platform::expandWildcards(QCoreApplication::arguments().mid(1));
    const int exitCode = dispatch(args.value(0), args.mid(1));
    if (exitCode == cli::Done && cli::standardOutputLost()) {
        std::fputs("vellmore-cli: cannot write to standard output\n", stderr);
        return cli::Failed;
    }
    return exitCode;
}
