// The tool's command lines built from arbitrary field values: every value arrives as one
// argument, unchanged, and the text shown is the program and the arguments after one blank each.
#include "cart/ToolCommands.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

void check(bool holds)
{
    if (!holds)
        std::abort();
}

void checkShape(const run::CommandLine& command, const cart::PortSettings& port, const QString& last)
{
    check(command.program() == port.toolPath);
    check(command.toString() == command.program() + command.argumentText());
    check(command.arguments().last() == last);
    check(command.arguments().contains(port.waitStep));
    check(command.arguments().contains(QString::number(port.port)));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QList<QByteArray> fields = QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)).split('\0');
    auto field = [&fields](int i) { return QString::fromUtf8(fields.value(i)); };
    auto number = [&fields](int i) { return fields.value(i).isEmpty() ? 0 : int(qint16(fields.value(i).at(0) * 257)); };
    cart::PortSettings port;
    port.toolPath = field(0);
    port.waitStep = field(1);
    port.port = (number(2) & 3) + 1;
    port.epp = number(3) & 1;
    const QString file = field(4);
    checkShape(cart::flashCommand(port, number(5) & 1, file), port, file);
    checkShape(cart::saveBackupCommand(port, number(6), number(7), file), port, file);
    checkShape(cart::saveRestoreCommand(port, number(6), file), port, file);
    checkShape(cart::cartBackupCommand(port, number(8), file), port, file);
    return 0;
}
