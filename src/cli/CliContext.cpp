#include "CliContext.h"

#include "multirom/MultiromLayout.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

#include <cstdio>

namespace cli {

namespace {

bool outputLost = false;

void writeLine(std::FILE* stream, const QString& line)
{
    if (!platform::writeText(stream, line + QLatin1Char('\n')))
        outputLost = outputLost || stream == stdout;
}

// --json anywhere before a "--" that ends the options.
bool asksForJson(const QStringList& args)
{
    for (const QString& arg : args) {
        if (arg == QLatin1String("--"))
            return false;
        if (arg == QLatin1String("--json") || arg == QLatin1String("-json"))
            return true;
    }
    return false;
}

QJsonObject resultObject(const QString& command, int exitCode, const QString& message, const QJsonObject& details)
{
    QJsonObject object = details;
    object.insert(QStringLiteral("schema"), jsonSchema);
    object.insert(QStringLiteral("command"), command);
    object.insert(QStringLiteral("ok"), exitCode == Done);
    object.insert(QStringLiteral("exitCode"), exitCode);
    object.insert(QStringLiteral("stopped"), exitCode > 128);
    object.insert(QStringLiteral("message"), message);
    return object;
}

void printObject(const QJsonObject& object)
{
    writeLine(stdout, QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

} // namespace

void printRefusalObject(const QString& command, const QStringList& arguments, const QString& message)
{
    if (asksForJson(arguments))
        printObject(resultObject(command, BadArguments, message, {}));
}

bool standardOutputLost()
{
    return outputLost;
}

CliContext::CliContext(const QString& command, const QString& arguments, const QString& description)
    : m_command(command)
{
    m_parser.setApplicationDescription(description);
    m_parser.addHelpOption();
    m_parser.addOption({QStringLiteral("json"), QStringLiteral("Print one JSON object for scripts.")});
    if (!arguments.isEmpty())
        m_parser.addPositionalArgument(arguments, QString());
    // Options before and after the files alike; "-abc" is no bundle of short options.
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
}

bool CliContext::parse(const QStringList& args, int* exitCode)
{
    m_json = asksForJson(args);
    if (!m_parser.parse(QStringList{QStringLiteral("vellmore-cli ") + m_command} + args)) {
        *exitCode = badArgument(m_parser.errorText());
        return false;
    }
    // Help, of either kind, is all a command asked for then: it runs nothing.
    if (m_parser.isSet(QStringLiteral("help")) || m_parser.isSet(QStringLiteral("help-all"))) {
        platform::writeText(stdout, helpText());
        *exitCode = Done;
        return false;
    }
    return true;
}

QString CliContext::helpText() const
{
    // Qt names the program by the path it was started as; the usage names the command.
    QString text = m_parser.helpText();
    const qsizetype options = text.indexOf(QLatin1String(" [options]"));
    if (text.startsWith(QLatin1String("Usage: ")) && options > 0)
        text.replace(7, options - 7, QStringLiteral("vellmore-cli ") + m_command);
    return text;
}

void CliContext::say(const QString& line) const
{
    if (!json())
        writeLine(stdout, line);
}

void CliContext::problem(const QString& line) const
{
    writeLine(stderr, QStringLiteral("vellmore-cli %1: %2").arg(m_command, line));
}

int CliContext::finish(int exitCode, const QString& message, const QJsonObject& details) const
{
    if (json())
        printObject(resultObject(m_command, exitCode, message, details));
    return exitCode;
}

int CliContext::badArgument(const QString& why) const
{
    problem(why);
    platform::writeText(stderr, helpText());
    return finish(BadArguments, why);
}

std::optional<int> CliContext::number(const QString& option, int low, int high, int fallback, QString* why) const
{
    if (!m_parser.isSet(option))
        return fallback;
    bool whole = false;
    const QString text = m_parser.value(option);
    const int value = text.toInt(&whole);
    if (!whole || value < low || value > high) {
        *why = QStringLiteral("--%1 takes a whole number from %2 to %3, not \"%4\"")
                   .arg(option)
                   .arg(low)
                   .arg(high)
                   .arg(text);
        return std::nullopt;
    }
    return value;
}

void CliContext::addChipOption(const QString& what)
{
    m_parser.addOption({QStringLiteral("chip"), what, QStringLiteral("MBIT")});
}

std::optional<int> CliContext::chip(bool needed, QString* why) const
{
    const std::optional<int> mbit = number(QStringLiteral("chip"), 0, 256, 0, why);
    // No --chip (0) where none is needed; a --chip given is a chip size, never 0.
    const bool given = m_parser.isSet(QStringLiteral("chip"));
    if (mbit && (given || needed ? multirom::isChipSize(*mbit) : *mbit == 0))
        return mbit;
    *why = QStringLiteral("--chip takes 8, 16, 32, 64, 128 or 256");
    return std::nullopt;
}

void CliContext::addPortOptions()
{
    m_parser.addOption({QStringLiteral("tool"), QStringLiteral("The flash tool (OB.exe)."), QStringLiteral("PATH")});
    m_parser.addOption({QStringLiteral("port"), QStringLiteral("The LPT port, 1 to 4 (1)."), QStringLiteral("N")});
    m_parser.addOption({QStringLiteral("no-epp"), QStringLiteral("SPP mode instead of EPP.")});
    m_parser.addOption({QStringLiteral("wait"), QStringLiteral("The wait step (0)."), QStringLiteral("N")});
}

std::optional<cart::PortSettings> CliContext::portSettings(QString* why) const
{
    if (m_parser.value(QStringLiteral("tool")).isEmpty()) {
        *why = QStringLiteral("--tool is needed: the flash tool to run");
        return std::nullopt;
    }
    const auto port = number(QStringLiteral("port"), 1, 4, 1, why);
    const auto wait = port ? number(QStringLiteral("wait"), 0, 999999999, 0, why) : std::nullopt;
    if (!wait)
        return std::nullopt;
    cart::PortSettings settings;
    // A tool named as a file here is started as that file, not looked up on the PATH.
    const QFileInfo tool(m_parser.value(QStringLiteral("tool")));
    settings.toolPath = tool.exists() ? QDir::toNativeSeparators(tool.absoluteFilePath()) : tool.filePath();
    settings.port = *port;
    settings.epp = !m_parser.isSet(QStringLiteral("no-epp"));
    settings.waitStep = QString::number(*wait);
    return settings;
}

} // namespace cli
