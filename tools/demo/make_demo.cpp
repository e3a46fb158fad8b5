// vellmore-demo FOLDER lays out a folder to try Vellmore in; vellmore-demo --start lays out the
// user's own demo folder the first time and starts Vellmore there (the menu entry's action).
#include "DemoFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace {

// A program of the package: beside this one when installed, else wherever PATH finds it.
QString companion(const QString& name)
{
    const QString beside = QStandardPaths::findExecutable(name, {QCoreApplication::applicationDirPath()});
    return beside.isEmpty() ? QStandardPaths::findExecutable(name) : beside;
}

int fail(const QString& problem)
{
    std::fprintf(stderr, "vellmore-demo: %s\n", qPrintable(problem));
    return 1;
}

int startVellmoreInDemo()
{
    const QString folder = demo::defaultFolder();
    const QString simulator = companion(QStringLiteral("vellmore-obsim"));
    if (simulator.isEmpty() && !QFileInfo::exists(folder + QStringLiteral("/OB.exe")))
        return fail(QStringLiteral("cannot find the cart simulator vellmore-obsim"));
    const QString problem = demo::layOut(folder, simulator);
    if (!problem.isEmpty())
        return fail(problem);
    const QString vellmore = companion(QStringLiteral("vellmore"));
    if (vellmore.isEmpty())
        return fail(QStringLiteral("cannot find vellmore"));
    QProcess process;
    process.setProgram(vellmore);
    process.setWorkingDirectory(folder);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("OBSIM_CART"), folder + QStringLiteral("/cart"));
    process.setProcessEnvironment(environment);
    if (!process.startDetached())
        return fail(QStringLiteral("cannot start %1: %2").arg(vellmore, process.errorString()));
    std::printf("Vellmore started in %s\n", qPrintable(QDir::toNativeSeparators(folder)));
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 1 || arguments.first().isEmpty()) {
        std::fprintf(stderr, "usage: vellmore-demo --start | vellmore-demo FOLDER\n");
        return 2;
    }
    if (arguments.first() == QStringLiteral("--start"))
        return startVellmoreInDemo();
    const QString problem = demo::layOut(arguments.first());
    return problem.isEmpty() ? 0 : fail(problem);
}
