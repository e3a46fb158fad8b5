#include "platform/ProgramKind.h"

#include "platform/FileSystem.h"

#include <QtEndian>

namespace platform {

namespace {

quint16 le16(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 le32(const QByteArray& bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QString peMachine(quint16 machine)
{
    switch (machine) {
    case 0x014C:
        return QStringLiteral("x86");
    case 0x8664:
        return QStringLiteral("x86-64");
    case 0xAA64:
        return QStringLiteral("ARM64");
    case 0x01C4:
        return QStringLiteral("ARM");
    default:
        return QStringLiteral("machine 0x%1").arg(machine, 4, 16, QLatin1Char('0'));
    }
}

// The ELF machine numbers of the processors Debian builds for, and the one Vellmore was built for.
QString elfMachine(quint16 machine)
{
    switch (machine) {
    case 3:
        return QStringLiteral("x86");
    case 62:
        return QStringLiteral("x86-64");
    case 40:
        return QStringLiteral("ARM");
    case 183:
        return QStringLiteral("ARM64");
    case 8:
        return QStringLiteral("MIPS");
    case 21:
        return QStringLiteral("POWER");
    case 22:
        return QStringLiteral("IBM Z");
    case 243:
        return QStringLiteral("RISC-V");
    default:
        return QStringLiteral("machine %1").arg(machine);
    }
}

constexpr quint16 builtForElfMachine()
{
#if defined(Q_PROCESSOR_X86_64)
    return 62;
#elif defined(Q_PROCESSOR_X86_32)
    return 3;
#elif defined(Q_PROCESSOR_ARM_64)
    return 183;
#elif defined(Q_PROCESSOR_ARM)
    return 40;
#else
    return 0;
#endif
}

ProgramKind mzProgram(const QByteArray& head)
{
    ProgramKind program;
    program.kind = ProgramKind::Kind::DosProgram;
    program.bits = 16;
    if (head.size() < 0x40)
        return program;
    const quint32 newHeader = le32(head, 0x3C);
    if (newHeader < 0x40 || qint64(newHeader) + 0x1A > head.size())
        return program; // no header of a later system: a DOS program
    const QByteArray signature = head.mid(int(newHeader), 2);
    if (signature == "NE") {
        program.kind = ProgramKind::Kind::Windows16Program;
    } else if (signature == "PE" && head.mid(int(newHeader) + 2, 2) == QByteArray(2, '\0')) {
        program.kind = ProgramKind::Kind::WindowsProgram;
        program.machine = peMachine(le16(head, int(newHeader) + 4));
        const quint16 magic = le16(head, int(newHeader) + 24);
        program.bits = magic == 0x20B ? 64 : 32;
    }
    // "LE" and "LX" belong to DOS extenders (and OS/2): a DOS program as far as Windows goes.
    return program;
}

ProgramKind script(const QByteArray& head)
{
    ProgramKind program;
    program.kind = ProgramKind::Kind::Script;
    const int end = head.indexOf('\n');
    QByteArray line = head.mid(2, end < 0 ? -1 : end - 2);
    if (line.endsWith('\r')) {
        program.crlf = true;
        line.chop(1);
    }
    const QList<QByteArray> words = line.trimmed().split(' ');
    program.interpreter = QString::fromLocal8Bit(words.value(0));
    if (words.size() > 1)
        program.interpreterArgument = QString::fromLocal8Bit(words.value(1));
    return program;
}

ProgramKind elfProgram(const QByteArray& head)
{
    ProgramKind program;
    program.kind = ProgramKind::Kind::LinuxProgram;
    if (head.size() < 20)
        return program;
    program.bits = head[4] == 2 ? 64 : 32;
    const quint16 machine = head[5] == 2 ? qFromBigEndian<quint16>(head.constData() + 18) : le16(head, 18);
    program.machine = elfMachine(machine);
    program.thisMachine = machine == builtForElfMachine();
    return program;
}

} // namespace

ProgramKind programKindOf(const QByteArray& head)
{
    if (head.startsWith("MZ"))
        return mzProgram(head);
    if (head.startsWith("#!"))
        return script(head);
    if (head.startsWith("\x7F"
                        "ELF"))
        return elfProgram(head);
    return {};
}

QString ProgramKind::describe() const
{
    switch (kind) {
    case Kind::WindowsProgram:
        return QStringLiteral("a %1-bit Windows program (%2)").arg(bits).arg(machine);
    case Kind::DosProgram:
        return QStringLiteral("a DOS program");
    case Kind::Windows16Program:
        return QStringLiteral("a 16-bit Windows program");
    case Kind::Script:
        return QStringLiteral("a script for %1")
            .arg(interpreterArgument.isEmpty() ? interpreter : interpreter + QLatin1Char(' ') + interpreterArgument);
    case Kind::LinuxProgram:
        return QStringLiteral("a %1-bit Linux program (%2)").arg(bits).arg(machine);
    case Kind::Unknown:
        break;
    }
    return QStringLiteral("not a program");
}

QStringList importedLibraries(const QByteArray& image)
{
    QStringList libraries;
    if (programKindOf(image).kind != ProgramKind::Kind::WindowsProgram)
        return libraries;
    const auto size = quint64(image.size());
    const quint32 header = le32(image, 0x3C);
    const quint16 sections = le16(image, int(header) + 6);
    const quint16 optionalSize = le16(image, int(header) + 20);
    const quint64 optional = quint64(header) + 24;
    const bool wide = le16(image, int(optional)) == 0x20B;
    const quint64 importEntry = optional + (wide ? 112 : 96) + 8; // the second data directory
    const quint64 sectionTable = optional + optionalSize;
    if (importEntry + 8 > size || sectionTable + quint64(sections) * 40 > size)
        return libraries;
    // Where in the file the bytes of an address in the loaded image lie, through the section that holds it.
    auto offsetOf = [&](quint32 address) -> quint64 {
        for (quint16 i = 0; i < sections; ++i) {
            const int at = int(sectionTable + quint64(i) * 40);
            const quint32 start = le32(image, at + 12);
            const quint32 length = qMax(le32(image, at + 8), le32(image, at + 16));
            if (address >= start && address - start < length)
                return quint64(le32(image, at + 20)) + (address - start);
        }
        return size;
    };
    // One descriptor of 20 bytes per library, its name's address at +12, closed by one of zeros.
    for (quint64 at = offsetOf(le32(image, int(importEntry))); at + 20 <= size; at += 20) {
        const quint32 nameAddress = le32(image, int(at) + 12);
        if (nameAddress == 0)
            break;
        const quint64 name = offsetOf(nameAddress);
        if (name >= size)
            break;
        const int end = image.indexOf('\0', int(name));
        libraries.append(QString::fromLatin1(image.mid(int(name), end < 0 ? -1 : end - int(name))));
    }
    return libraries;
}

ProgramKind programKindAt(const QString& path)
{
    // A Windows program's own header usually starts within the first few hundred bytes.
    return programKindOf(readOrdinaryFileHead(path, 4096));
}

} // namespace platform
