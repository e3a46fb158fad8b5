#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
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

// A stand-in tool: a shell script of body, made executable. Returns its path.
inline QString writeScript(const QString& path, const QByteArray& body)
{
    write(path, "#!/bin/sh\n" + body + "\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

// Shell lines for a stand-in tool that waits, at most a minute, until the test lets it go on.
inline const QByteArray waitForTheTest = "for i in $(seq 1200); do [ -e \"$0.go\" ] && break; sleep 0.05; done";

// Lets a tool that waits (waitForTheTest) go on.
inline void letToolGoOn(const QString& tool)
{
    write(tool + ".go", QByteArray());
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
