#include "runner/ConsoleWindow.h"

#include "controls/WindowIcon.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTextCursor>
#include <QVBoxLayout>

ConsoleWindow::ConsoleWindow(const QString& commandText) : QWidget(nullptr, Qt::Window)
{
    setObjectName(QStringLiteral("console"));
    setWindowTitle(commandText);
    setWindowIcon(vellmoreIcon());
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    m_view = new QPlainTextEdit(this);
    m_view->setObjectName(QStringLiteral("output"));
    m_view->setReadOnly(true);
    m_view->setFocusPolicy(Qt::NoFocus);
    m_view->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_view->setMaximumBlockCount(5000);
    QPalette palette = m_view->palette();
    palette.setColor(QPalette::Base, Qt::black);
    palette.setColor(QPalette::Text, QColor(192, 192, 192));
    m_view->setPalette(palette);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    resize(640, 320);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

QString ConsoleWindow::text() const
{
    return m_view->toPlainText();
}

void ConsoleWindow::append(const QString& text)
{
    QString plain = text;
    plain.remove(QLatin1Char('\r'));
    m_view->moveCursor(QTextCursor::End);
    m_view->insertPlainText(plain);
    m_view->moveCursor(QTextCursor::End);
}
