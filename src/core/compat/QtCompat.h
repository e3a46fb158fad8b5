#pragma once

// What differs between Qt 6 (Linux) and Qt 5.15 (the Windows build, for Windows 7) in what the core
// uses, in one place: everything else is written once for both.

#include <QHash>
#include <QProcess>
#include <QtGlobal>

#include <functional>
#include <utility>

namespace compat {

// The type qHash returns and takes as its seed: uint in Qt 5, size_t in Qt 6.
using HashValue = decltype(qHash(0, 0));

// A QProcess that runs a function in the child between fork and exec (POSIX only; elsewhere it is
// never called): Qt 6 takes it as a modifier, Qt 5 calls a virtual function for it.
class ChildSetupProcess : public QProcess {
public:
    using QProcess::QProcess;

    void setChildSetup(std::function<void()> setup)
    {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
        setChildProcessModifier(std::move(setup));
#else
        m_setup = std::move(setup);
#endif
    }

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
protected:
    void setupChildProcess() override
    {
        if (m_setup)
            m_setup();
    }

private:
    std::function<void()> m_setup;
#endif
};

} // namespace compat
