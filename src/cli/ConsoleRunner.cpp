// The tool run from a console: its output passed on as it comes, the system's requests to end
// turned into Stop.
#include "ConsoleRunner.h"

#include "run/StopOnSignal.h"
#include "run/ToolRun.h"

#include <cstdio>

namespace cli {

run::ProgramRunner ConsoleRunner::runner()
{
    return [this](const run::CommandLine& command) {
        run::ToolRun tool;
        // Ctrl+C, SIGTERM or SIGHUP (on Windows the console closed) stops the run as Stop does, instead
        // of ending vellmore-cli with the tool left running.
        int signal = 0;
        QString how;
        const run::StopOnSignal interrupt;
        QObject::connect(&interrupt, &run::StopOnSignal::requested, &tool, [&](int received, const QString& said) {
            signal = received;
            how = said;
            tool.stop();
        });
        run::RunOutcome outcome = tool.run(command, [this](run::ToolRun::Stream stream, const QByteArray& bytes) {
            std::FILE* to = stream == run::ToolRun::Stream::Error || m_outputToErrors ? stderr : stdout;
            std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
            std::fflush(to);
        });
        // However it ended, the user ended it.
        if (signal != 0 && outcome.kind != run::RunOutcome::Kind::NotStarted) {
            const QString survivors = outcome.survivors;
            outcome = run::RunOutcome::stopped(how);
            outcome.survivors = survivors;
        }
        m_stopped = outcome.kind == run::RunOutcome::Kind::Stopped;
        m_stopCode = 128 + (signal != 0 ? signal : 2);
        return outcome;
    };
}

} // namespace cli
