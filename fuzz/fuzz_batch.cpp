// Whole batch files through the interpreter. Copies stay inside a scratch folder: the input
// may name files there only (no separator), and the interpreter sees no environment.
#include "run/BatchInterpreter.h"

#include <QByteArray>
#include <QDir>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir scratch;
    static const bool inside = QDir::setCurrent(scratch.path());
    if (!inside)
        std::abort();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    if (bytes.contains('/') || bytes.contains('\\') || bytes.contains('\0'))
        return 0;
    run::BatchInterpreter interpreter(nullptr, QProcessEnvironment());
    const int level = interpreter.runText(QString::fromLocal8Bit(bytes));
    if (level < 0)
        std::abort(); // errorlevels of this interpreter are never negative
    // Keep the scratch folder small: what one input copied is not needed by the next.
    for (const QString& name : QDir().entryList(QDir::Files | QDir::Hidden))
        QFile::remove(name);
    return 0;
}
