#include "runner/ConsoleWindow.h"

#include "compat/QtWidgetsCompat.h"
#include "controls/Accessibility.h"
#include "controls/Announcer.h"
#include "controls/WindowIcon.h"

#include <QCloseEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextCursor>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int refreshMilliseconds = 100;
constexpr int tellEveryMilliseconds = 3000;

// A console's face: fixed pitch, as Windows' consoles write (Consolas, on older systems Courier
// New); else the system's fixed face; else the first fixed-pitch face there is.
QFont consoleFont()
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamilies({QStringLiteral("Consolas"), QStringLiteral("Courier New"), font.family()});
    font.setStyleHint(QFont::TypeWriter);
    if (!QFontInfo(font).fixedPitch()) {
        for (const QString& family : compat::fontFamilies()) {
            if (compat::isFixedPitch(family)) {
                font.setFamilies({family});
                break;
            }
        }
    }
    return font;
}

} // namespace

ConsoleWindow::ConsoleWindow(const QString& commandText, const QString& programName, QWidget* owner)
    : QWidget(owner, Qt::Dialog)
{
    // A transient of the waiting window as the window system sees it: a click there leaves it in front.
    setWindowModality(Qt::WindowModal);
    setObjectName(QStringLiteral("console"));
    setWindowTitle(commandText);
    setWindowIcon(vellmoreIcon());
    accessibility::mark(this, accessibility::Kind::Dialog, tr("Running %1").arg(programName));
    accessibility::markBusy(this, true);
    m_view = new QPlainTextEdit(this);
    m_view->setObjectName(QStringLiteral("output"));
    m_view->setAccessibleName(tr("Output of %1").arg(programName));
    m_view->setReadOnly(true);
    m_view->setTabChangesFocus(true);
    m_view->installEventFilter(this); // Ctrl+C there stops the program, as in a console
    m_view->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_view->setFont(consoleFont());
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, QColor(192, 192, 192));
    m_view->setPalette(palette);
    auto* stop = new QPushButton(tr("Stop"), this);
    stop->setObjectName(QStringLiteral("stop"));
    m_stop = stop;
    stop->setToolTip(tr("Ask the program to stop, as closing this window does"));
    connect(stop, &QPushButton::clicked, this,
            [this] { requestStop(QStringLiteral("Stop was pressed in the console window")); });
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_view);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(6, 6, 6, 6);
    buttons->addStretch();
    buttons->addWidget(stop);
    layout->addLayout(buttons);
    m_announcer = new Announcer(this);
    resize(640, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    m_refresh.setInterval(refreshMilliseconds);
    connect(&m_refresh, &QTimer::timeout, this, &ConsoleWindow::showPending);
}

void ConsoleWindow::present()
{
    show();
    raise();
    activateWindow();
    m_stop->setFocus(Qt::ActiveWindowFocusReason);
    // A click on a waiting window makes the toolkit itself give that window the focus, past the
    // window manager: the focus comes straight back, so that Ctrl+C always reaches the console.
    connect(qGuiApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focused) {
        if (focused && focused != windowHandle() && isVisible())
            QTimer::singleShot(0, this, [this] {
                raise();
                activateWindow();
            });
    });
}

void ConsoleWindow::markEnded()
{
    accessibility::markBusy(this, false);
}

void ConsoleWindow::requestStop(const QString& how)
{
    if (m_stopReason.isEmpty())
        m_stopReason = how;
    emit stopRequested();
}

QString ConsoleWindow::text() const
{
    return m_text.text();
}

void ConsoleWindow::append(const QByteArray& bytes)
{
    m_text.append(bytes);
    m_pending = true;
    if (!m_refresh.isActive()) {
        // The first output shows at once; what follows is gathered until the next tick.
        showPending();
        m_refresh.start();
    }
}

void ConsoleWindow::showPending()
{
    if (!m_pending) {
        m_refresh.stop();
        return;
    }
    m_pending = false;
    QScrollBar* scroll = m_view->verticalScrollBar();
    const bool following = scroll->value() == scroll->maximum();
    // Only what changed goes in, so that a screen reader hears the new lines, not the whole text
    // again: usually lines added at the end, or the last line rewritten.
    const QString text = m_text.text();
    const auto same = std::mismatch(m_shown.cbegin(), m_shown.cend(), text.cbegin(), text.cend());
    QTextCursor cursor(m_view->document());
    cursor.setPosition(int(same.first - m_shown.cbegin()));
    cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    cursor.insertText(text.mid(same.first - m_shown.cbegin()));
    m_shown = text;
    if (following)
        scroll->setValue(scroll->maximum());
    tellLatestLine(text);
}

void ConsoleWindow::tellLatestLine(const QString& text)
{
    const QString latest = text.section(QLatin1Char('\n'), -1, -1, QString::SectionSkipEmpty).trimmed();
    if (!latest.isEmpty() && latest != m_announcer->lastSaid())
        m_announcer->sayNowAndThen(latest, tellEveryMilliseconds);
}

void ConsoleWindow::closeEvent(QCloseEvent* event)
{
    // The window goes when the program has ended; closing it now asks the program to stop.
    event->ignore();
    requestStop(QStringLiteral("the console window was closed"));
}

void ConsoleWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy) ||
        (event->key() == Qt::Key_C && event->modifiers().testFlag(Qt::ControlModifier))) {
        requestStop(QStringLiteral("Ctrl+C was pressed in the console window"));
        return;
    }
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        requestStop(QStringLiteral("Esc was pressed in the console window"));
        return;
    }
    // Enter presses the focused Stop, as on Windows: outside a dialog a button takes only Space.
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && focusWidget() == m_stop) {
        m_stop->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool ConsoleWindow::eventFilter(QObject* watched, QEvent* event)
{
    // The output would copy on Ctrl+C; in a console it stops the program.
    if (watched == m_view && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_C && key->modifiers().testFlag(Qt::ControlModifier)) {
            keyPressEvent(key);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
