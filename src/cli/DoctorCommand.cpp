#include "CliContext.h"
#include "Doctor.h"
#include "multirom/StartupDetection.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QStandardPaths>

#include <algorithm>
#include <optional>

namespace cli {

namespace {

// What stands at the tool's path when it is not a file that could be a program, on every system.
std::optional<DoctorCheck> toolFileProblem(const QString& tool)
{
    const QFileInfo file(tool);
    if (!file.exists() && !file.isSymLink())
        return DoctorCheck{QStringLiteral("the tool is there"), false,
                           QStringLiteral("there is no tool at %1: give the path of OB.exe").arg(tool)};
    if (file.isDir())
        return DoctorCheck{QStringLiteral("the tool is a file"), false,
                           QStringLiteral("%1 is a folder, not the tool: give the path of OB.exe itself").arg(tool)};
    if (!file.isFile())
        return DoctorCheck{QStringLiteral("the tool is an ordinary file"), false,
                           QStringLiteral("%1 is not an ordinary file (a link that leads nowhere, a FIFO or a "
                                          "device): give the path of OB.exe")
                               .arg(tool)};
    return std::nullopt;
}

// The tool where Vellmore finds it: OB.exe (any letter case) in this folder, else in Documents\Vellmore,
// where Windows' Start menu starts Vellmore. Empty when neither holds one.
QString toolWhereVellmoreLooks()
{
    const QStringList folders{QDir::currentPath(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
                                                       QStringLiteral("/Vellmore")};
    for (const QString& folder : folders) {
        const QString found = multirom::detectStartupFiles(folder).value(multirom::toolLookupName());
        if (!found.isEmpty())
            return QDir::toNativeSeparators(QDir(folder).filePath(found));
    }
    return QString();
}

} // namespace

int doctorCommand(const QStringList& args)
{
    CliContext context(QStringLiteral("doctor"), QString(),
                       QStringLiteral("Checks the set-up: the system, what kind of program the tool is and whether it "
                                      "can drive a cart here, and the port; says what to do where something is "
                                      "wrong."));
    context.parser().addOption({QStringLiteral("tool"),
                                QStringLiteral("The flash tool (by default OB.exe where Vellmore finds it: this "
                                               "folder, else Documents/Vellmore)."),
                                QStringLiteral("PATH")});
    context.parser().addOption(
        {QStringLiteral("port"), QStringLiteral("The LPT port, 1 to 4 (1)."), QStringLiteral("N")});
    int exitCode = Done;
    if (!context.parse(args, &exitCode))
        return exitCode;
    if (!context.parser().positionalArguments().isEmpty())
        return context.badArgument(QStringLiteral("doctor takes no file"));
    QString why;
    const auto port = context.number(QStringLiteral("port"), 1, 4, 1, &why);
    if (!port)
        return context.badArgument(why);
    platform::ProgramKind kind;
    QList<DoctorCheck> checks = systemChecks();
    const QString tool = context.parser().isSet(QStringLiteral("tool")) ? context.parser().value(QStringLiteral("tool"))
                                                                        : toolWhereVellmoreLooks();
    if (!tool.isEmpty()) {
        const std::optional<DoctorCheck> problem = toolFileProblem(tool);
        checks += problem ? QList<DoctorCheck>{*problem} : toolChecks(tool, &kind);
    }
    checks += portChecks(*port, kind);
    QJsonArray described;
    bool allOk = true;
    for (const DoctorCheck& check : checks) {
        allOk = allOk && check.ok;
        context.say(check.ok ? QStringLiteral("ok       %1").arg(check.what)
                             : QStringLiteral("problem  %1").arg(check.advice));
        described.append(QJsonObject{{QStringLiteral("check"), check.what},
                                     {QStringLiteral("ok"), check.ok},
                                     {QStringLiteral("advice"), check.advice}});
    }
    const auto firstProblem =
        std::find_if(checks.cbegin(), checks.cend(), [](const DoctorCheck& check) { return !check.ok; });
    return context.finish(allOk ? Done : Failed, allOk ? QStringLiteral("every check passed") : firstProblem->advice,
                          {{QStringLiteral("checks"), described}});
}

} // namespace cli
