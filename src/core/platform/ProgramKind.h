#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What kind of program a file is, from its first bytes: what the doctor and the failure messages
// say about a tool, on every system.
namespace platform {

struct ProgramKind {
    enum class Kind {
        Unknown,          // no kind of program Vellmore knows: text, an image, empty
        WindowsProgram,   // a Win32 or Win64 program ("MZ", then "PE")
        DosProgram,       // a DOS program ("MZ" alone, or a DOS extender's "LE"/"LX")
        Windows16Program, // a 16-bit Windows program ("MZ", then "NE")
        Script,           // "#!" and the path of its interpreter
        LinuxProgram,     // an ELF program
    };
    Kind kind = Kind::Unknown;
    int bits = 0;                // 16, 32 or 64 where the kind has a width
    QString machine;             // "x86", "x86-64", "ARM64", ... for Windows and Linux programs
    bool thisMachine = false;    // a Linux program for the processor Vellmore was built for
    QString interpreter;         // a script's interpreter, as its first line names it
    QString interpreterArgument; // what follows the interpreter on that line ("sh" for "/usr/bin/env sh")
    bool crlf = false;           // a script whose first line ends in CR LF

    // A DOS or 16-bit Windows program: only a DOS machine runs it (NTVDM on 32-bit Windows, DOSBox).
    bool needsDosMachine() const { return kind == Kind::DosProgram || kind == Kind::Windows16Program; }

    // "a 32-bit Windows program (x86)", "a DOS program", "a script for /bin/sh".
    QString describe() const;
};

// The kind of program whose first bytes are head (a few KiB are plenty: a Windows program's own
// header is looked for where the DOS header says it starts, if head reaches that far).
ProgramKind programKindOf(const QByteArray& head);

// The libraries a Windows program (its whole file in image) imports by name, as its import table lists
// them ("KERNEL32.dll", "Qt5Core.dll"); empty for anything else.
QStringList importedLibraries(const QByteArray& image);

// The kind of the program at path, from its first bytes, read without waiting for a FIFO or a device:
// only an ordinary file (or a link to one) is read; anything else is of no kind.
ProgramKind programKindAt(const QString& path);

} // namespace platform
