// obsim: a stand-in for the flash tool, with a simulated cart kept in a folder.
//
//   OB.exe [-n] [-2] -w WAIT -l PORT -p IMAGE        write IMAGE to the cart
//   OB.exe [-2] -w WAIT -l PORT -b BANK SIZE FILE    back up a save bank into FILE
//   OB.exe [-2] -w WAIT -l PORT -r BANK FILE         restore FILE into a save bank
//   OB.exe [-2] -w WAIT -l PORT -c MBIT -s FILE      back up the whole cart into FILE
//
// The cart lives in $OBSIM_CART, else in "cart" beside the executable: flash.bin, four
// save banks bank1.sav to bank4.sav, and "port", the LPT port the cart sits on (1).
// $OBSIM_DELAY_MS slows each MiB written or read.
#include "ObsimOptions.h"
#include "RomImage.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QThread>

#include <cstdio>
#include <optional>

namespace {

using obsim::Options;
using obsim::parseOptions;
using obsim::wholeNumber;

constexpr qint64 cartBytes = 256 * 131072; // 256 Mbit
constexpr qint64 bankBytes = 256 * 1024;
constexpr qint64 mebibyte = 1 << 20;

enum Exit { Ok = 0, BadOptions = 2, InputMissing = 3, TooLarge = 4, NoCart = 5, CannotWrite = 6 };

struct Failure {
    Exit code;
    QString reason;
};

int fail(const Failure& failure)
{
    std::fprintf(stderr, "obsim: %s\n", qPrintable(failure.reason));
    return failure.code;
}

class Cart {
public:
    explicit Cart(QString folder) : m_folder(std::move(folder)) {}

    QString path(const QString& name) const { return QDir(m_folder).filePath(name); }

    int port() const
    {
        QFile file(path(QStringLiteral("port")));
        if (!file.open(QIODevice::ReadOnly))
            return 1;
        return wholeNumber(QString::fromLatin1(file.readAll())).value_or(0);
    }

    // The bytes of a cart file, padded with erased flash (0xFF) to size.
    QByteArray read(const QString& name, qint64 offset, qint64 size) const
    {
        QByteArray bytes;
        QFile file(path(name));
        if (file.open(QIODevice::ReadOnly) && file.seek(offset))
            bytes = file.read(size);
        if (bytes.size() < size)
            bytes.append(QByteArray(size - bytes.size(), char(0xFF)));
        return bytes;
    }

    std::optional<Failure> prepare() const
    {
        if (!QDir().mkpath(m_folder))
            return Failure{CannotWrite, QStringLiteral("cannot create the cart folder ") + m_folder};
        return std::nullopt;
    }

private:
    QString m_folder;
};

void pause()
{
    const int delay = qEnvironmentVariableIntValue("OBSIM_DELAY_MS");
    if (delay > 0)
        QThread::msleep(static_cast<unsigned long>(delay));
}

void progress(const char* verb, qint64 done, qint64 total)
{
    std::printf("%s %lld of %lld KiB\n", verb, static_cast<long long>(done / 1024),
                static_cast<long long>(total / 1024));
    std::fflush(stdout);
}

// A short write says nothing of why; the write of the rest fails with the system's reason.
bool writeAll(QSaveFile& out, const QByteArray& bytes)
{
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 put = out.write(bytes.constData() + done, bytes.size() - done);
        if (put <= 0)
            return false;
        done += put;
    }
    return true;
}

// Writes a file whole or not at all. A link is written through; a folder, a device or a FIFO is
// never replaced by a file.
std::optional<Failure> writeOut(const QString& target, const std::function<QByteArray(qint64, qint64)>& chunk,
                                qint64 total, const char* verb)
{
    const platform::WriteTarget place = platform::writeTarget(target);
    if (place.kind == platform::WriteTarget::Kind::NotAFile)
        return Failure{CannotWrite, QStringLiteral("cannot write %1: it is not an ordinary file").arg(target)};
    if (place.kind == platform::WriteTarget::Kind::LinkLoop)
        return Failure{CannotWrite, QStringLiteral("cannot write %1: its links lead round in a circle").arg(target)};
    QSaveFile out(place.path);
    if (!out.open(QIODevice::WriteOnly))
        return Failure{CannotWrite, QStringLiteral("cannot write %1: %2").arg(target, out.errorString())};
    for (qint64 done = 0; done < total;) {
        const qint64 step = qMin(mebibyte, total - done);
        const QByteArray bytes = chunk(done, step);
        if (!writeAll(out, bytes))
            return Failure{CannotWrite, QStringLiteral("cannot write %1: %2").arg(target, out.errorString())};
        done += step;
        pause();
        progress(verb, done, total);
    }
    if (!out.commit())
        return Failure{CannotWrite, QStringLiteral("cannot write %1: %2").arg(target, out.errorString())};
    return std::nullopt;
}

std::optional<Failure> flash(const Cart& cart, const Options& options)
{
    QFile image(options.file);
    if (!QFileInfo(options.file).isFile() || !image.open(QIODevice::ReadOnly))
        return Failure{InputMissing, QStringLiteral("cannot open the image ") + options.file};
    const qint64 size = image.size();
    if (size > cartBytes)
        return Failure{TooLarge,
                       QStringLiteral("the image holds %1 bytes, more than the cart's %2").arg(size).arg(cartBytes)};
    std::printf("Flashing %s (%lld bytes)%s\n", qPrintable(options.file), static_cast<long long>(size),
                options.repairHeader ? ", repairing the header" : "");
    auto chunk = [&](qint64 offset, qint64 length) {
        QByteArray bytes = image.read(length);
        if (offset == 0 && options.repairHeader)
            romimage::repairHeader(bytes); // the cart's copy only; the user's file stays as it is
        return bytes;
    };
    return writeOut(cart.path(QStringLiteral("flash.bin")), chunk, size, "Written");
}

std::optional<Failure> backupCart(const Cart& cart, const Options& options)
{
    const qint64 size = qint64(options.chipMbit) * 131072;
    return writeOut(
        options.file,
        [&](qint64 offset, qint64 length) { return cart.read(QStringLiteral("flash.bin"), offset, length); }, size,
        "Read");
}

QString bankName(int bank)
{
    return QStringLiteral("bank%1.sav").arg(bank);
}

std::optional<Failure> backupSave(const Cart& cart, const Options& options)
{
    const qint64 size = qint64(32 * 1024) << (options.sizeCode - 1);
    return writeOut(
        options.file, [&](qint64 offset, qint64 length) { return cart.read(bankName(options.bank), offset, length); },
        size, "Read");
}

std::optional<Failure> restoreSave(const Cart& cart, const Options& options)
{
    QFile save(options.file);
    if (!QFileInfo(options.file).isFile() || !save.open(QIODevice::ReadOnly))
        return Failure{InputMissing, QStringLiteral("cannot open the saved game ") + options.file};
    if (save.size() > bankBytes)
        return Failure{
            TooLarge,
            QStringLiteral("the saved game holds %1 bytes, more than a bank's %2").arg(save.size()).arg(bankBytes)};
    QByteArray bank = cart.read(bankName(options.bank), 0, bankBytes);
    const QByteArray bytes = save.readAll();
    bank.replace(0, bytes.size(), bytes);
    return writeOut(
        cart.path(bankName(options.bank)), [&](qint64 offset, qint64 length) { return bank.mid(offset, length); },
        bankBytes, "Written");
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QString problem;
    const std::optional<Options> options = parseOptions(QCoreApplication::arguments().mid(1), &problem);
    if (!options) {
        return fail({BadOptions, problem + QStringLiteral("\nusage: OB.exe [-n] [-2] -w WAIT -l PORT "
                                                          "(-p IMAGE | -b BANK SIZE FILE | -r BANK FILE | "
                                                          "-c MBIT -s FILE)")});
    }
    const QString folder = qEnvironmentVariableIsSet("OBSIM_CART")
                               ? qEnvironmentVariable("OBSIM_CART")
                               : QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("cart"));
    const Cart cart(folder);
    if (const auto failure = cart.prepare())
        return fail(*failure);
    std::printf("obsim: LPT%d, %s mode, wait step %d\n", options->port, options->epp ? "EPP" : "SPP",
                options->waitStep);
    if (cart.port() != options->port)
        return fail({NoCart, QStringLiteral("no cart found on LPT%1").arg(options->port)});

    std::optional<Failure> failure;
    switch (options->operation) {
    case 'p':
        failure = flash(cart, *options);
        break;
    case 'b':
        failure = backupSave(cart, *options);
        break;
    case 'r':
        failure = restoreSave(cart, *options);
        break;
    default:
        failure = backupCart(cart, *options);
        break;
    }
    if (failure)
        return fail(*failure);
    std::printf("Done.\n");
    return Ok;
}
