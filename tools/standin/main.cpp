// vellmore-standin: a program that stands in for a tool in the tests, on every system. A copy
// of it, under any name, does what the file "<its own path>.steps" says, one step a line:
//
//   args            writes its arguments, each in [ ], to "<its own path>.args"
//   out TEXT        writes TEXT and a line end to standard output; err TEXT likewise to error
//   write TEXT      writes TEXT into the file named by its last argument
//   fill N          writes N bytes into the file named by its last argument
//   ready           makes "<its own path>.ready", so that a test knows it runs
//   wait            waits, at most a minute, until "<its own path>.go" exists
//   where           writes its current directory to "<its own path>.where"
//   env NAME        writes the environment variable NAME to "<its own path>.env"
//   read            reads a line from standard input
//   spawn NAME      runs the program NAME beside it with its own arguments, and waits for it
//   launch NAME     starts the program NAME beside it with its own arguments, and does not wait
//   bulk N          writes N KiB of lines to standard output
//   oem TEXT        writes TEXT to standard error in the console's code page (Windows)
//   cmdline         writes the command line it was given, as the system gave it, to "<its own path>.cmdline"
//   ignore-stop     takes no notice of a request to stop
//   leave-group     leaves the tool's process group for a session of its own (not on Windows)
//   flood           writes "progress" lines to standard error without end
//   crash           ends as the system ends a program for a fault
//   port            reads LPT1's status register directly, as a tool without its port driver does
//   exit N          ends with exit code N (the steps end with exit code 0 otherwise)
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace {

void crash()
{
#ifdef Q_OS_WIN
    RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
#else
    std::raise(SIGKILL);
#endif
    std::abort();
}

void ignoreStop()
{
#ifndef Q_OS_WIN
    std::signal(SIGTERM, SIG_IGN);
#endif
}

void waitForTheTest(const QString& self)
{
    QElapsedTimer waited;
    waited.start();
    while (!QFileInfo::exists(self + QStringLiteral(".go")) && waited.elapsed() < 60000)
        QThread::msleep(20);
}

QByteArray inConsoleCodePage(const QString& text)
{
#ifdef Q_OS_WIN
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int size = WideCharToMultiByte(CP_OEMCP, 0, wide, int(text.size()), nullptr, 0, nullptr, nullptr);
    QByteArray bytes(size, '\0');
    WideCharToMultiByte(CP_OEMCP, 0, wide, int(text.size()), bytes.data(), size, nullptr, nullptr);
    return bytes;
#else
    return text.toLocal8Bit();
#endif
}

QByteArray givenCommandLine(const QStringList& arguments)
{
#ifdef Q_OS_WIN
    Q_UNUSED(arguments);
    return QString::fromWCharArray(GetCommandLineW()).toUtf8();
#else
    return arguments.join(QLatin1Char(' ')).toUtf8();
#endif
}

// An "in" instruction from a program: only a port driver lets it through; Windows ends the program
// with a privileged-instruction status otherwise.
void readPortDirectly()
{
#if defined(Q_OS_WIN) && (defined(__i386__) || defined(__x86_64__))
    unsigned char value = 0;
    const unsigned short statusRegister = 0x379;
    __asm__ __volatile__("inb %1, %0" : "=a"(value) : "Nd"(statusRegister));
    std::printf("%u\n", value);
#endif
}

// Starts program in the background, as a launcher that leaves the real tool running does: in the same
// process group (POSIX) or job (Windows) as the launcher, never waited for.
void launch(const QString& program, const QStringList& arguments)
{
#ifdef Q_OS_UNIX
    std::vector<QByteArray> bytes{QFile::encodeName(program)};
    for (const QString& argument : arguments)
        bytes.push_back(QFile::encodeName(argument));
    std::vector<char*> argv;
    for (QByteArray& argument : bytes)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    if (::fork() == 0) {
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
#else
    QProcess::startDetached(program, arguments);
#endif
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QString self = QCoreApplication::applicationFilePath();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    QFile steps(self + QStringLiteral(".steps"));
    if (!steps.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "standin: no steps beside %s\n", qPrintable(self));
        return 100;
    }
    for (const QByteArray& raw : steps.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        const QString verb = line.section(QLatin1Char(' '), 0, 0);
        const QString rest = line.section(QLatin1Char(' '), 1);
        if (verb == QLatin1String("args")) {
            QFile out(self + QStringLiteral(".args"));
            if (out.open(QIODevice::WriteOnly))
                for (const QString& argument : arguments)
                    out.write('[' + argument.toUtf8() + ']');
        } else if (verb == QLatin1String("out") || verb == QLatin1String("err")) {
            FILE* stream = verb == QLatin1String("out") ? stdout : stderr;
            std::fprintf(stream, "%s\n", rest.toLocal8Bit().constData());
            std::fflush(stream);
        } else if (verb == QLatin1String("write") || verb == QLatin1String("fill")) {
            QFile out(arguments.value(arguments.size() - 1));
            if (out.open(QIODevice::WriteOnly))
                out.write(verb == QLatin1String("write") ? rest.toUtf8() : QByteArray(rest.toInt(), 'f'));
        } else if (verb == QLatin1String("ready")) {
            QFile(self + QStringLiteral(".ready")).open(QIODevice::WriteOnly);
        } else if (verb == QLatin1String("where") || verb == QLatin1String("env")) {
            QFile out(self + QLatin1Char('.') + verb);
            if (out.open(QIODevice::WriteOnly))
                out.write(verb == QLatin1String("where") ? QDir::currentPath().toUtf8()
                                                         : qgetenv(rest.toLocal8Bit().constData()));
        } else if (verb == QLatin1String("wait")) {
            waitForTheTest(self);
        } else if (verb == QLatin1String("read")) {
            char answer[256];
            if (!std::fgets(answer, sizeof answer, stdin))
                answer[0] = '\0';
        } else if (verb == QLatin1String("spawn")) {
            QProcess::execute(QFileInfo(self).dir().filePath(rest), arguments);
        } else if (verb == QLatin1String("launch")) {
            launch(QFileInfo(self).dir().filePath(rest), arguments);
        } else if (verb == QLatin1String("bulk")) {
            const QByteArray bulkLine(63, 'x');
            for (int i = 0; i < rest.toInt() * 16; ++i)
                std::fprintf(stdout, "%s\n", bulkLine.constData());
            std::fflush(stdout);
        } else if (verb == QLatin1String("oem")) {
            std::fprintf(stderr, "%s\n", inConsoleCodePage(rest).constData());
            std::fflush(stderr);
        } else if (verb == QLatin1String("cmdline")) {
            QFile out(self + QStringLiteral(".cmdline"));
            if (out.open(QIODevice::WriteOnly))
                out.write(givenCommandLine(QCoreApplication::arguments()));
        } else if (verb == QLatin1String("ignore-stop")) {
            ignoreStop();
        } else if (verb == QLatin1String("leave-group")) {
#ifndef Q_OS_WIN
            ::setsid();
#endif
        } else if (verb == QLatin1String("flood")) {
            for (;;)
                std::fputs("progress\n", stderr);
        } else if (verb == QLatin1String("port")) {
            readPortDirectly();
        } else if (verb == QLatin1String("crash")) {
            crash();
        } else if (verb == QLatin1String("exit")) {
            return rest.toInt();
        }
    }
    return 0;
}
