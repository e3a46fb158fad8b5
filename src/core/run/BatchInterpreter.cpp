#include "run/BatchInterpreter.h"

#include "platform/FileReplacer.h"
#include "platform/Platform.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <cerrno>
#include <utility>

namespace run {

namespace {

const QString crlf = QStringLiteral("\r\n");

// One piece of a copy command's argument text: a word (quotes removed) or a "+".
struct Token {
    bool plus = false;
    QString text;
    bool quoted = false;
};

QList<Token> tokenize(const QString& text)
{
    QList<Token> tokens;
    Token current;
    bool inWord = false;
    bool inQuotes = false;
    auto finishWord = [&] {
        if (inWord)
            tokens.append(current);
        current = Token();
        inWord = false;
    };
    for (const QChar c : text) {
        if (c == QLatin1Char('"')) {
            inQuotes = !inQuotes;
            inWord = true;
            current.quoted = true;
        } else if (!inQuotes && (c == QLatin1Char(' ') || c == QLatin1Char('\t'))) {
            finishWord();
        } else if (!inQuotes && c == QLatin1Char('+')) {
            finishWord();
            Token plus;
            plus.plus = true;
            tokens.append(plus);
        } else {
            current.text += c;
            inWord = true;
        }
    }
    finishWord();
    return tokens;
}

// "/b", "/Y", "/-y": a slash and one letter. A longer word that starts with "/" is a path.
bool isSwitch(const QString& word)
{
    static const QRegularExpression pattern(QStringLiteral("^/-?[A-Za-z]$"));
    return pattern.match(word).hasMatch();
}

QString firstWord(const QString& line, QString* rest)
{
    int end = 0;
    while (end < line.size() && line[end] != QLatin1Char(' ') && line[end] != QLatin1Char('\t'))
        ++end;
    *rest = line.mid(end).trimmed();
    return line.left(end);
}

QString pathProblemText(int errorNumber)
{
    switch (errorNumber) {
    case ENOENT:
    case ENOTDIR:
    case ENAMETOOLONG:
        return QStringLiteral("The system cannot find the path specified.");
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
        return QStringLiteral("Access is denied.");
    case ENOSPC:
        return QStringLiteral("There is not enough space on the disk.");
    default:
        return platform::systemErrorText(errorNumber);
    }
}

} // namespace

BatchInterpreter::BatchInterpreter(Sink sink, QProcessEnvironment environment)
    : m_sink(std::move(sink)), m_environment(std::move(environment))
{
}

void BatchInterpreter::say(Stream stream, const QString& text) const
{
    if (m_sink)
        m_sink(stream, text);
}

int BatchInterpreter::runFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        say(Stream::Error, path + crlf + QStringLiteral("The system cannot find the file specified.") + crlf);
        return 1;
    }
    return runText(QString::fromLocal8Bit(file.readAll()), path);
}

int BatchInterpreter::runText(const QString& text, const QString& batchPath)
{
    int errorLevel = 0;
    m_echo = true;
    const QStringList lines = text.split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        QString command = expand(line, batchPath).trimmed();
        bool quiet = false;
        while (command.startsWith(QLatin1Char('@'))) {
            quiet = true;
            command = command.mid(1).trimmed();
        }
        if (command.isEmpty() || command.startsWith(QLatin1Char(':')))
            continue;
        if (m_cancel && m_cancel->load())
            break; // stopped by the user: no further command runs
        if (m_echo && !quiet)
            say(Stream::Output,
                crlf + QDir::toNativeSeparators(QDir::currentPath()) + QLatin1Char('>') + command + crlf);
        errorLevel = runCommand(command);
    }
    return errorLevel;
}

QString BatchInterpreter::expand(const QString& line, const QString& batchPath) const
{
    QString result;
    result.reserve(line.size());
    for (int i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c != QLatin1Char('%')) {
            result += c;
            continue;
        }
        if (i + 1 >= line.size())
            break; // a lone "%" at the end of a line is dropped
        const QChar next = line[i + 1];
        if (next == QLatin1Char('%')) {
            result += QLatin1Char('%');
            ++i;
        } else if (next.isDigit()) {
            // Batch parameters: this interpreter runs batch files without arguments.
            if (next == QLatin1Char('0'))
                result += batchPath;
            ++i;
        } else {
            const int close = line.indexOf(QLatin1Char('%'), i + 1);
            if (close < 0)
                break; // an unclosed "%NAME" is dropped, as cmd does in batch files
            result += m_environment.value(line.mid(i + 1, close - i - 1));
            i = close;
        }
    }
    return result;
}

int BatchInterpreter::runCommand(const QString& line)
{
    QString rest;
    const QString word = firstWord(line, &rest);
    const QString verb = word.toLower();
    if (verb == QLatin1String("rem"))
        return 0;
    if (verb == QLatin1String("echo") && (rest.compare(QLatin1String("off"), Qt::CaseInsensitive) == 0 ||
                                          rest.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0)) {
        m_echo = rest.compare(QLatin1String("on"), Qt::CaseInsensitive) == 0;
        return 0;
    }
    if (verb == QLatin1String("copy"))
        return copy(rest);
    say(Stream::Error, QLatin1Char('\'') + word +
                           QStringLiteral("' is not recognized as an internal or external command,") + crlf +
                           QStringLiteral("operable program or batch file.") + crlf);
    return notRecognised;
}

int BatchInterpreter::copy(const QString& arguments)
{
    const QString syntaxError = QStringLiteral("The syntax of the command is incorrect.") + crlf;
    // Groups of "+"-joined names: the first group is the sources, the second the destination.
    QList<QStringList> groups;
    bool joinNext = false;
    for (const Token& token : tokenize(arguments)) {
        if (token.plus) {
            if (groups.isEmpty()) {
                say(Stream::Error, syntaxError);
                return 1;
            }
            joinNext = true;
            continue;
        }
        if (!token.quoted && isSwitch(token.text)) {
            const QString option = token.text.toLower();
            if (option != QLatin1String("/b") && option != QLatin1String("/y") && option != QLatin1String("/v")) {
                say(Stream::Error, QStringLiteral("Invalid switch - ") + token.text + crlf);
                return 1;
            }
            continue;
        }
        if (joinNext && !groups.isEmpty())
            groups.last().append(token.text);
        else
            groups.append(QStringList{token.text});
        joinNext = false;
    }
    if (groups.size() != 2 || groups[1].size() != 1 || joinNext) {
        say(Stream::Error, syntaxError);
        return 1;
    }
    const QStringList& sources = groups[0];
    const QString& destination = groups[1].first();

    // As cmd does, the reason goes to standard error and the count to standard output.
    auto fail = [this](const QString& reason) {
        say(Stream::Error, reason + crlf);
        say(Stream::Output, QStringLiteral("        0 file(s) copied.") + crlf);
        return 1;
    };
    platform::FileReplacer output(destination);
    output.setCancelFlag(m_cancel);
    const platform::FileReplacer::Result opened = output.open();
    if (opened == platform::FileReplacer::Result::DestinationNotAFile)
        return fail(QStringLiteral("Access is denied."));
    if (opened != platform::FileReplacer::Result::Ok)
        return fail(pathProblemText(output.errorNumber()));
    for (const QString& source : sources) {
        const platform::FileReplacer::Result result = output.append(source);
        if (result == platform::FileReplacer::Result::Ok)
            continue;
        if (result == platform::FileReplacer::Result::Cancelled)
            return fail(QStringLiteral("^C"));
        if (result == platform::FileReplacer::Result::SourceMissing)
            return fail(source + crlf + QStringLiteral("The system cannot find the file specified."));
        if (result == platform::FileReplacer::Result::SourceUnreadable)
            return fail(source + crlf + pathProblemText(output.errorNumber()));
        return fail(pathProblemText(output.errorNumber()));
    }
    if (output.commit() != platform::FileReplacer::Result::Ok)
        return fail(pathProblemText(output.errorNumber()));
    say(Stream::Output, QStringLiteral("        1 file(s) copied.") + crlf);
    return 0;
}

RunOutcome runBatchFile(const QString& path, const BatchInterpreter::Sink& sink, const std::atomic<bool>* cancel)
{
    ErrorTail errors;
    BatchInterpreter interpreter([&](BatchInterpreter::Stream stream, const QString& text) {
        if (stream == BatchInterpreter::Stream::Error)
            errors.append(text.toLocal8Bit());
        if (sink)
            sink(stream, text);
    });
    interpreter.setCancelFlag(cancel);
    const int errorLevel = interpreter.runFile(path);
    RunOutcome outcome = cancel && cancel->load() ? RunOutcome::stopped(QStringLiteral("the run was stopped"))
                                                  : RunOutcome::exited(static_cast<quint32>(errorLevel));
    outcome.errorOutput = errors.text();
    return outcome;
}

} // namespace run
