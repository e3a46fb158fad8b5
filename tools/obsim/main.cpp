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
// $OBSIM_FAULT makes it fail on purpose: "busy" (the port is in use), "denied" (no permission on
// the port), "flip:OFFSET" (a flash writes the byte at OFFSET wrong), "hang" (stops answering half
// way), "short" (a backup file cut short).
//
// Plain C++ on purpose: copied alone into a games folder as OB.exe, it needs nothing beside it.
#include "ObsimOptions.h"
#include "ObsimSystem.h"
#include "multirom/HeaderBytes.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <thread>

namespace {

namespace fs = std::filesystem;
using obsim::Options;

constexpr long long cartBytes = 256LL * 131072; // 256 Mbit
constexpr long long bankBytes = 256 * 1024;
constexpr long long mebibyte = 1 << 20;

enum Exit {
    Ok = 0,
    BadOptions = 2,
    InputMissing = 3,
    TooLarge = 4,
    NoCart = 5,
    CannotWrite = 6,
    PortBusy = 7,
    PortDenied = 8
};

// A fault asked for through $OBSIM_FAULT.
struct Fault {
    bool busy = false;
    bool denied = false;
    bool hang = false;
    bool shortBackup = false;
    long long flipOffset = -1;
};

Fault faultAsked()
{
    Fault fault;
    const std::string text = obsim::environment("OBSIM_FAULT").value_or("");
    fault.busy = text == "busy";
    fault.denied = text == "denied";
    fault.hang = text == "hang";
    fault.shortBackup = text == "short";
    if (text.rfind("flip:0x", 0) == 0 && text.size() > 7 && text.size() < 16 &&
        text.find_first_not_of("0123456789abcdefABCDEF", 7) == std::string::npos)
        fault.flipOffset = std::stoll(text.substr(7), nullptr, 16);
    else if (text.rfind("flip:", 0) == 0)
        fault.flipOffset = obsim::wholeNumber(text.substr(5)).value_or(-1);
    return fault;
}

const Fault fault = faultAsked();

struct Failure {
    Exit code;
    std::string reason;
};

using Bytes = std::string;

void say(std::FILE* stream, const std::string& text)
{
    const std::string shown = obsim::forConsole(text);
    std::fwrite(shown.data(), 1, shown.size(), stream);
    std::fflush(stream);
}

int fail(const Failure& failure)
{
    say(stderr, "obsim: " + failure.reason + "\n");
    return failure.code;
}

std::string reasonOf(int error)
{
    return std::strerror(error);
}

// A file opened for the simulator, closed when it goes.
class File {
public:
    File(const fs::path& path, const char* mode) : m_file(obsim::openFile(path, mode)), m_error(errno) {}
    ~File()
    {
        if (m_file)
            std::fclose(m_file);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    explicit operator bool() const { return m_file != nullptr; }
    std::FILE* get() const { return m_file; }
    int error() const { return m_error; }
    int close()
    {
        const int result = std::fclose(m_file);
        m_error = errno;
        m_file = nullptr;
        return result;
    }

private:
    std::FILE* m_file;
    int m_error;
};

Bytes readUpTo(std::FILE* file, long long size)
{
    Bytes bytes(size_t(size), '\0');
    bytes.resize(std::fread(bytes.data(), 1, bytes.size(), file));
    return bytes;
}

long long fileSize(const fs::path& path)
{
    std::error_code error;
    const auto size = fs::file_size(path, error);
    return error ? 0 : static_cast<long long>(size);
}

class Cart {
public:
    explicit Cart(fs::path folder) : m_folder(std::move(folder)) {}

    fs::path path(const std::string& name) const { return m_folder / name; }

    int port() const
    {
        File file(path("port"), "rb");
        if (!file)
            return 1;
        return obsim::wholeNumber(readUpTo(file.get(), 64)).value_or(0);
    }

    // The bytes of a cart file, padded with erased flash (0xFF) to size.
    Bytes read(const std::string& name, long long offset, long long size) const
    {
        Bytes bytes;
        File file(path(name), "rb");
        if (file && std::fseek(file.get(), long(offset), SEEK_SET) == 0)
            bytes = readUpTo(file.get(), size);
        bytes.resize(size_t(size), char(0xFF));
        return bytes;
    }

    std::optional<Failure> prepare() const
    {
        std::error_code error;
        fs::create_directories(m_folder, error);
        if (!fs::is_directory(m_folder))
            return Failure{CannotWrite, "cannot create the cart folder " + obsim::utf8Path(m_folder)};
        return std::nullopt;
    }

private:
    fs::path m_folder;
};

void pause()
{
    const int delay = obsim::wholeNumber(obsim::environment("OBSIM_DELAY_MS").value_or("0")).value_or(0);
    if (delay > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
}

void progress(const char* verb, long long done, long long total)
{
    std::printf("%s %lld of %lld KiB\n", verb, done / 1024, total / 1024);
    std::fflush(stdout);
}

// Where a write to target lands: the end of its links. Nothing, and the reason, for a circle of
// links or for something that is not an ordinary file (a folder, a device, a FIFO).
std::optional<fs::path> writePlace(const fs::path& target, std::string* problem)
{
    fs::path place = target;
    std::error_code error;
    for (int hops = 0; fs::is_symlink(fs::symlink_status(place, error)); ++hops) {
        if (hops == 40) {
            *problem = "its links lead round in a circle";
            return std::nullopt;
        }
        const fs::path next = fs::read_symlink(place, error);
        place = next.is_absolute() ? next : place.parent_path() / next;
    }
    const fs::file_status status = fs::status(place, error);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        *problem = "it is not an ordinary file";
        return std::nullopt;
    }
    return place;
}

// Writes a file whole or not at all, through a new file beside it that takes its place at the end.
std::optional<Failure> writeOut(const std::string& target, const std::function<Bytes(long long, long long)>& chunk,
                                long long total, const char* verb)
{
    std::string problem;
    const std::optional<fs::path> place = writePlace(obsim::pathFromUtf8(target), &problem);
    if (!place)
        return Failure{CannotWrite, "cannot write " + target + ": " + problem};
    fs::path partial = *place;
    partial += ".obsim-" + std::to_string(obsim::processId());
    auto failed = [&](int error) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        obsim::removeWhenStopped({});
        return Failure{CannotWrite, "cannot write " + target + ": " + reasonOf(error)};
    };
    obsim::removeWhenStopped(partial); // before the file exists, so that it never outlives a stop
    File out(partial, "wb");
    if (!out)
        return Failure{CannotWrite, "cannot write " + target + ": " + reasonOf(out.error())};
    for (long long done = 0; done < total;) {
        const long long step = std::min(mebibyte, total - done);
        const Bytes bytes = chunk(done, step);
        errno = 0;
        if (std::fwrite(bytes.data(), 1, bytes.size(), out.get()) != bytes.size() || std::fflush(out.get()) != 0)
            return failed(errno != 0 ? errno : EIO);
        done += step;
        pause();
        progress(verb, done, total);
        if (fault.hang && done >= total / 2)
            for (;;) // no more answers from the cart, until the tool is ended
                std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    if (out.close() != 0)
        return failed(out.error());
    const std::optional<std::string> why = obsim::replaceFile(partial, *place);
    obsim::removeWhenStopped({});
    if (why) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return Failure{CannotWrite, "cannot write " + target + ": " + *why};
    }
    return std::nullopt;
}

std::optional<Failure> flash(const Cart& cart, const Options& options)
{
    const fs::path path = obsim::pathFromUtf8(options.file);
    std::error_code error;
    File image(path, "rb");
    if (!fs::is_regular_file(path, error) || !image)
        return Failure{InputMissing, "cannot open the image " + options.file};
    const long long size = fileSize(path);
    if (size > cartBytes)
        return Failure{TooLarge, "the image holds " + std::to_string(size) + " bytes, more than the cart's " +
                                     std::to_string(cartBytes)};
    say(stdout, "Flashing " + options.file + " (" + std::to_string(size) + " bytes)" +
                    (options.repairHeader ? ", repairing the header" : "") + "\n");
    auto chunk = [&](long long offset, long long length) {
        Bytes bytes = readUpTo(image.get(), length);
        bytes.resize(size_t(length), '\0');
        // The cart's copy only; the user's file stays as it is.
        if (offset == 0 && options.repairHeader && bytes.size() >= size_t(multirom::gameHeaderSize))
            bytes[multirom::complementOffset] = char(multirom::headerComplement(bytes.data()));
        if (fault.flipOffset >= offset && fault.flipOffset < offset + length)
            bytes[size_t(fault.flipOffset - offset)] = char(~bytes[size_t(fault.flipOffset - offset)]);
        return bytes;
    };
    return writeOut(obsim::utf8Path(cart.path("flash.bin")), chunk, size, "Written");
}

// A backup cut short by the fault "short": half of it.
long long backupBytes(long long size)
{
    return fault.shortBackup ? size / 2 : size;
}

std::optional<Failure> backupCart(const Cart& cart, const Options& options)
{
    const long long size = backupBytes(options.chipMbit * 131072LL);
    return writeOut(
        options.file, [&](long long offset, long long length) { return cart.read("flash.bin", offset, length); }, size,
        "Read");
}

std::string bankName(int bank)
{
    return "bank" + std::to_string(bank) + ".sav";
}

std::optional<Failure> backupSave(const Cart& cart, const Options& options)
{
    const long long size = backupBytes((32LL * 1024) << (options.sizeCode - 1));
    return writeOut(
        options.file,
        [&](long long offset, long long length) { return cart.read(bankName(options.bank), offset, length); }, size,
        "Read");
}

std::optional<Failure> restoreSave(const Cart& cart, const Options& options)
{
    const fs::path path = obsim::pathFromUtf8(options.file);
    std::error_code error;
    File save(path, "rb");
    if (!fs::is_regular_file(path, error) || !save)
        return Failure{InputMissing, "cannot open the saved game " + options.file};
    const long long size = fileSize(path);
    if (size > bankBytes)
        return Failure{TooLarge, "the saved game holds " + std::to_string(size) + " bytes, more than a bank's " +
                                     std::to_string(bankBytes)};
    Bytes bank = cart.read(bankName(options.bank), 0, bankBytes);
    const Bytes bytes = readUpTo(save.get(), size);
    bank.replace(0, bytes.size(), bytes);
    return writeOut(
        obsim::utf8Path(cart.path(bankName(options.bank))),
        [&](long long offset, long long length) { return bank.substr(size_t(offset), size_t(length)); }, bankBytes,
        "Written");
}

} // namespace

int main(int argc, char* argv[])
{
    std::string problem;
    const std::optional<Options> options = obsim::parseOptions(obsim::arguments(argc, argv), &problem);
    if (!options) {
        return fail({BadOptions, problem + "\nusage: OB.exe [-n] [-2] -w WAIT -l PORT "
                                           "(-p IMAGE | -b BANK SIZE FILE | -r BANK FILE | -c MBIT -s FILE)"});
    }
    const std::optional<std::string> cartFolder = obsim::environment("OBSIM_CART");
    const Cart cart(cartFolder ? obsim::pathFromUtf8(*cartFolder) : obsim::programFolder() / "cart");
    if (const auto failure = cart.prepare())
        return fail(*failure);
    std::printf("obsim: LPT%d, %s mode, wait step %d\n", options->port, options->epp ? "EPP" : "SPP",
                options->waitStep);
    const std::string port = "LPT" + std::to_string(options->port);
    if (fault.busy)
        return fail({PortBusy, "the port " + port + " is in use by another program"});
    if (fault.denied)
        return fail({PortDenied, "permission denied on the port " + port});
    if (cart.port() != options->port)
        return fail({NoCart, "no cart found on " + port});

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
