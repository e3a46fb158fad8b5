#pragma once

#include "cart/ToolCommands.h"

#include <QCommandLineParser>
#include <QJsonObject>
#include <QString>

#include <optional>

namespace cli {

enum Exit { Done = 0, Failed = 1, BadArguments = 2, Stopped = 130 };

// One subcommand's command line: its options, --help, --json, and its usage when an argument is
// bad. Output for people goes to standard output line by line; with --json one object goes there
// at the end instead, on every path, and what people would read is left out. Every object holds
// "schema", "command", "ok", "exitCode", "stopped" and "message" (one line in this program's words),
// and what the command adds.
class CliContext {
public:
    CliContext(const QString& command, const QString& arguments, const QString& description);

    QCommandLineParser& parser() { return m_parser; }

    // Parses the arguments after the subcommand. False when the command should end now, with
    // exitCode: 0 after --help, 2 after a bad argument (the reason and the usage printed).
    bool parse(const QStringList& args, int* exitCode);

    bool json() const { return m_json; }
    void say(const QString& line) const;
    void problem(const QString& line) const;

    // Ends the command: with --json its one object (details added to the keys every object holds).
    // Returns exitCode.
    int finish(int exitCode, const QString& message, const QJsonObject& details = {}) const;

    // Prints why an argument is bad and the usage; returns BadArguments.
    int badArgument(const QString& why) const;

    // A whole number option in low..high, or nothing with the reason in *why.
    std::optional<int> number(const QString& option, int low, int high, int fallback, QString* why) const;

    // --chip, one of the chip sizes: 0 when it may be left out and is; nothing, with the reason, when bad.
    void addChipOption(const QString& what);
    std::optional<int> chip(bool needed, QString* why) const;

    // --tool, --port, --no-epp and --wait, for the operations that run the tool.
    void addPortOptions();
    std::optional<cart::PortSettings> portSettings(QString* why) const;

private:
    QString helpText() const;

    QString m_command;
    QCommandLineParser m_parser;
    bool m_json = false; // known even when the arguments do not parse
};

// The version of the JSON objects' layout; it changes only when a key changes its meaning or goes.
constexpr int jsonSchema = 1;

// The object for a command line refused before any command took it (a name that is not text, no
// such command), printed when the arguments ask for JSON.
void printRefusalObject(const QString& command, const QStringList& arguments, const QString& message);

// Whether something meant for standard output could not be written there (it was closed, or full).
bool standardOutputLost();

int infoCommand(const QStringList& args);
int compileCommand(const QStringList& args);
int flashCommand(const QStringList& args);
int backupSaveCommand(const QStringList& args);
int restoreSaveCommand(const QStringList& args);
int backupCartCommand(const QStringList& args);
int verifyCommand(const QStringList& args);
int doctorCommand(const QStringList& args);

} // namespace cli
