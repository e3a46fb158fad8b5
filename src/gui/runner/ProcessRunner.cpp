#include "runner/ProcessRunner.h"

#include "platform/BatchInterpreter.h"
#include "runner/ConsoleWindow.h"
#include "runner/InputBlocker.h"
#include "platform/Platform.h"

#include <QEventLoop>
#include <QPointer>
#include <QProcess>

#include <cstdio>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace runner {

using platform::BatchInterpreter;
using platform::CommandLine;
using platform::RunOutcome;

namespace {

void passOn(FILE* stream, const QByteArray& bytes)
{
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stream);
    std::fflush(stream);
}

// The batch interpreter runs on a worker so that the windows keep painting during a long copy.
RunOutcome runBatchFile(const CommandLine& command, ConsoleWindow* console)
{
    QEventLoop loop;
    QPointer<ConsoleWindow> target(console);
    int errorLevel = 0;
    std::thread worker([&] {
        BatchInterpreter interpreter([&](BatchInterpreter::Stream stream, const QString& text) {
            passOn(stream == BatchInterpreter::Stream::Error ? stderr : stdout, text.toLocal8Bit());
            QMetaObject::invokeMethod(
                console,
                [target, text] {
                    if (target)
                        target->append(text);
                },
                Qt::QueuedConnection);
        });
        errorLevel = interpreter.runFile(command.program());
        QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
    });
    loop.exec();
    worker.join();
    return RunOutcome::exited(static_cast<quint32>(errorLevel));
}

RunOutcome runProgram(const CommandLine& command, ConsoleWindow* console)
{
    QProcess process;
#ifdef Q_OS_WIN
    // The system gives a console program its own console window; the command line is passed as written.
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    if (command.namesBatchFile()) {
        process.setProgram(QStringLiteral("cmd.exe"));
        process.setNativeArguments(QStringLiteral("/d /c \"") + command.toString() + QLatin1Char('"'));
    } else {
        process.setProgram(command.program());
        process.setNativeArguments(command.argumentText().mid(1));
    }
    process.setCreateProcessArgumentsModifier([](QProcess::CreateProcessArguments* arguments) {
        // A console of its own, with its own standard handles, at normal priority.
        arguments->flags = (arguments->flags & ~DWORD(CREATE_NO_WINDOW)) | NORMAL_PRIORITY_CLASS;
        arguments->startupInfo->dwFlags &= ~DWORD(STARTF_USESTDHANDLES);
        arguments->inheritHandles = TRUE;
    });
#else
    process.setProgram(command.program());
    process.setArguments(command.arguments());
    QObject::connect(&process, &QProcess::readyReadStandardOutput, console, [&process, console] {
        const QByteArray bytes = process.readAllStandardOutput();
        passOn(stdout, bytes);
        console->append(QString::fromLocal8Bit(bytes));
    });
    QObject::connect(&process, &QProcess::readyReadStandardError, console, [&process, console] {
        const QByteArray bytes = process.readAllStandardError();
        passOn(stderr, bytes);
        console->append(QString::fromLocal8Bit(bytes));
    });
#endif
    QEventLoop loop;
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    process.start(QIODevice::ReadOnly);
    if (!process.waitForStarted(-1))
        return RunOutcome::notStarted();
    if (process.state() != QProcess::NotRunning)
        loop.exec();
#ifndef Q_OS_WIN
    for (const QByteArray& rest : {process.readAllStandardOutput(), process.readAllStandardError()}) {
        if (!rest.isEmpty())
            console->append(QString::fromLocal8Bit(rest));
    }
#endif
    if (process.exitStatus() == QProcess::CrashExit)
        return RunOutcome::signalled(process.exitCode());
    return RunOutcome::exited(static_cast<quint32>(process.exitCode()));
}

} // namespace

RunOutcome ExecCmd(const CommandLine& command)
{
    InputBlocker blocker;
    ConsoleWindow console(command.toString());
#ifndef Q_OS_WIN
    console.show();
#endif
    if (platform::interpretsBatchFilesItself() && command.namesBatchFile())
        return runBatchFile(command, &console);
    return runProgram(command, &console);
}

} // namespace runner
