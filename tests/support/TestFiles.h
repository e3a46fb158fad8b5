#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QString>
#include <QTest>

#include <cstdio>

#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

// Small helpers for tests that work on real files in temporary folders.
namespace testfiles {

// A path as Vellmore writes it on this system: with the system's own separators.
inline QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A path written as on a system with one root ("/roms/a.gba", and "//a.gba" composed at the
// root), as this system writes it: on Windows "C:\roms\a.gba" and "C:\\a.gba".
inline QString here(const QString& posixPath)
{
#ifdef Q_OS_WIN
    return QDir::toNativeSeparators(posixPath.startsWith(QLatin1Char('/')) ? QStringLiteral("C:") + posixPath
                                                                           : posixPath);
#else
    return posixPath;
#endif
}

inline void write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Writes a file whose name is given as the bytes the system stores, valid text or not.
inline void writeRaw(const QByteArray& path, const QByteArray& bytes)
{
    FILE* file = std::fopen(path.constData(), "wb");
    QVERIFY2(file, path.constData());
    QCOMPARE(std::fwrite(bytes.constData(), 1, size_t(bytes.size()), file), size_t(bytes.size()));
    std::fclose(file);
}

// A stand-in tool at path (".exe" added on Windows): a copy of the project's stand-in program
// that does the steps given (see tools/standin). Returns its path.
inline QString writeStandIn(const QString& path, const QStringList& steps)
{
#ifdef Q_OS_WIN
    const QString program = path + QStringLiteral(".exe");
#else
    const QString program = path;
#endif
    QDir().mkpath(QFileInfo(program).absolutePath());
    QFile::remove(program);
    if (!QFile::copy(QStringLiteral(STANDIN_PATH), program))
        qWarning("cannot copy the stand-in tool to %s", qPrintable(program));
    write(program + QStringLiteral(".steps"), steps.join(QLatin1Char('\n')).toUtf8());
    return program;
}

// Lets a stand-in tool that waits (the step "wait") go on.
inline void letToolGoOn(const QString& tool)
{
    write(tool + QStringLiteral(".go"), QByteArray());
}

// Whether a stand-in tool has come to its step "ready".
inline bool toolIsReady(const QString& tool)
{
    return QFileInfo::exists(tool + QStringLiteral(".ready"));
}

// The system's reason why a file cannot be made at path, as Vellmore reports it.
inline QString whyNotWritten(const QString& path)
{
#ifdef Q_OS_WIN
    QFile file(path);
    file.open(QIODevice::WriteOnly | QIODevice::NewOnly);
    return file.errorString();
#else
    const int failure = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CREAT | O_EXCL, 0644) < 0 ? errno : 0;
    return QString::fromLocal8Bit(std::strerror(failure));
#endif
}

// The system's reason why what stands at path cannot be deleted, as Vellmore reports it.
inline QString whyNotDeleted(const QString& path)
{
#ifdef Q_OS_WIN
    QFile file(path);
    file.remove();
    return file.errorString();
#else
    const int failure = ::unlink(QFile::encodeName(path).constData()) != 0 ? errno : 0;
    return QString::fromLocal8Bit(std::strerror(failure));
#endif
}

// The system's reason why the program at path cannot be started, as Vellmore reports it.
inline QString whyNotStarted(const QString& path)
{
    QProcess process;
    process.start(path, QStringList());
    process.waitForStarted(-1);
    return process.errorString().section(QStringLiteral(": "), 1);
}

inline QByteArray read(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline QByteArray pattern(int size, int seed)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + seed * 17 + (i >> 8)) & 0xFF);
    return bytes;
}

// Whether the tests run under Wine rather than on Windows itself.
inline bool underWine()
{
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

// Whether message is expected, where %R stands for the system's words on a failure: exactly on
// the system the expectation was written for; where the words are the system's own (Windows,
// whose texts Wine words its own way), any words after the same start.
inline bool saysWithReason(const QString& message, const QString& expected, const QString& reason)
{
#ifdef Q_OS_WIN
    Q_UNUSED(reason);
    if (!expected.contains(QStringLiteral("%R")))
        return message == expected;
    const QString start = expected.left(expected.indexOf(QStringLiteral("%R")));
    return message.startsWith(start) && message.size() > start.size();
#else
    return message == QString(expected).replace(QStringLiteral("%R"), reason);
#endif
}

inline bool runningAsRoot()
{
#ifdef Q_OS_UNIX
    return ::geteuid() == 0;
#else
    return false;
#endif
}

// Changes the current directory for the life of the object.
class CurrentDirectory {
public:
    explicit CurrentDirectory(const QString& path) : m_previous(QDir::currentPath()) { QDir::setCurrent(path); }
    ~CurrentDirectory() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

} // namespace testfiles
