#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QTest>

#include <cstdio>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

// Small helpers for tests that work on real files in temporary folders.
namespace testfiles {

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
