#include "ui/shell/stackedwindows.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QShortcut>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QWidget>
#include <QWindow>

#include <algorithm>

namespace {

constexpr int barPadding = 2;

// The strip at the top of a stacked page with the way back to the main window.
QWidget* createBackBar(QWidget* page)
{
    auto* bar = new QWidget(page);
    bar->setObjectName(QStringLiteral("stackedWindow_backBar"));
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(barPadding, barPadding, barPadding, barPadding);
    auto* back = new QToolButton(bar);
    back->setObjectName(QStringLiteral("stackedWindowBack_toolButton"));
    back->setText(StackedWindows::tr("Back"));
    back->setToolTip(StackedWindows::tr("Back to the main window (Esc)"));
    back->setIcon(bar->style()->standardIcon(QStyle::SP_ArrowBack));
    back->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    back->setAutoRaise(true);
    // A shortcut of its own rather than the button's: a button's shortcut clicks it only
    // after a short animation, by which time the page may have been opened again.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), bar);
    escape->setObjectName(QStringLiteral("stackedWindowBack_shortcut"));
    layout->addWidget(back);
    layout->addStretch();
    bar->setFixedHeight(bar->sizeHint().height());
    return bar;
}

} // namespace

StackedWindows::StackedWindows(QWidget* mainWindow, QObject* parent)
    : QObject(parent)
    , m_mainWindow(mainWindow)
{}

void StackedWindows::open(QWidget* page)
{
    if (!page || !m_mainWindow || page == m_mainWindow)
        return;
    if (const auto entry = find(page); entry != m_open.end()) {
        if (!entry->closing) {
            page->raise();
            page->activateWindow();
            return;
        }
        restore(page);
    }

    OpenPage entry{page, page->windowFlags(), page->contentsMargins(), createBackBar(page)};
    const auto back = [this, guard = QPointer<QWidget>(page)] { close(guard); };
    connect(entry.bar->findChild<QToolButton*>(QStringLiteral("stackedWindowBack_toolButton")),
            &QToolButton::clicked, this, back);
    connect(entry.bar->findChild<QShortcut*>(QStringLiteral("stackedWindowBack_shortcut")),
            &QShortcut::activated, this, back);

    page->setWindowFlags(entry.flags | Qt::Window);
    const QMargins& m = entry.margins;
    page->setContentsMargins(m.left(), m.top() + entry.bar->height(), m.right(), m.bottom());
    if (page->windowTitle().isEmpty()) {
        page->setWindowTitle(m_mainWindow->windowTitle());
        entry.titled = true;
    }
    page->setGeometry(m_mainWindow->geometry());
    placeBar(page, entry.bar);
    page->winId();
    if (QWindow* window = page->windowHandle())
        window->setTransientParent(m_mainWindow->window()->windowHandle());
    page->installEventFilter(this);
    m_open.push_back(entry);

    if (m_mainWindow->isFullScreen())
        page->showFullScreen();
    else if (m_mainWindow->isMaximized())
        page->showMaximized();
    else
        page->show();
    page->raise();
    page->activateWindow();
}

void StackedWindows::close(QWidget* page)
{
    const auto entry = find(page);
    if (entry == m_open.end() || entry->closing)
        return;
    if (page->isVisible())
        page->hide(); // the event filter takes it from here
    else
        scheduleRestore(*entry);
}

bool StackedWindows::isOpen(const QWidget* page) const
{
    return page && std::any_of(m_open.begin(), m_open.end(),
                               [page](const OpenPage& e) { return e.page == page && !e.closing; });
}

void StackedWindows::matchMainWindow()
{
    if (!m_mainWindow)
        return;
    for (const OpenPage& entry : m_open) {
        if (entry.page && !entry.closing && !entry.page->isMaximized() && !entry.page->isFullScreen())
            entry.page->setGeometry(m_mainWindow->geometry());
    }
}

bool StackedWindows::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::Resize && event->type() != QEvent::Hide && event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* page = qobject_cast<QWidget*>(watched);
    const auto entry = find(page);
    if (entry == m_open.end() || entry->closing)
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress) {
        // Escape that a field of the page took from the back button's shortcut but left unused.
        if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            close(page);
            return true;
        }
    } else if (event->type() == QEvent::Resize) {
        placeBar(page, entry->bar);
    } else if (!event->spontaneous()) {
        // Closed by the window manager, hidden by the program, or left through the bar:
        // the page goes back into the main window. A spontaneous hide is the window being
        // minimized, which leaves it where it is.
        scheduleRestore(*entry);
    }
    return QObject::eventFilter(watched, event);
}

std::vector<StackedWindows::OpenPage>::iterator StackedWindows::find(const QWidget* page)
{
    // Pages deleted while open are forgotten on the way.
    m_open.erase(std::remove_if(m_open.begin(), m_open.end(), [](const OpenPage& e) { return !e.page; }),
                 m_open.end());
    if (!page)
        return m_open.end();
    return std::find_if(m_open.begin(), m_open.end(), [page](const OpenPage& e) { return e.page == page; });
}

void StackedWindows::scheduleRestore(OpenPage& entry)
{
    entry.closing = true;
    QMetaObject::invokeMethod(
        this, [this, page = entry.page] { restore(page); }, Qt::QueuedConnection);
}

void StackedWindows::restore(QWidget* page)
{
    // Only a page on its way back: one opened again since then stays open.
    const auto entry = find(page);
    if (entry == m_open.end() || !entry->closing)
        return;
    const OpenPage closing = *entry;
    m_open.erase(entry);
    page->removeEventFilter(this);
    if (closing.bar) {
        closing.bar->hide();
        closing.bar->deleteLater(); // its button may still be finishing the click that led here
    }
    if (closing.titled)
        page->setWindowTitle(QString());
    page->setContentsMargins(closing.margins);
    page->setWindowFlags(closing.flags);
    if (auto* stack = qobject_cast<QStackedWidget*>(page->parentWidget());
        stack && stack->currentWidget() == page)
        page->show();
    emit closed(page);
}

void StackedWindows::placeBar(QWidget* page, QWidget* bar)
{
    if (!bar)
        return;
    bar->setGeometry(0, 0, page->width(), bar->height());
    bar->raise();
    bar->show();
}
