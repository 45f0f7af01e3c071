#pragma once

#include <QDir>
#include <QObject>

#include <functional>

class MainWindow;
class QTabWidget;
class QTimer;
class QWidget;

// Drives the window for the demonstration and the smoke test, and only when the environment
// asks for it: TAVREL_DEMO=connect loads the receiver's data at once instead of waiting for
// the first tap; TAVREL_DEMO_SCREENSHOTS=<folder> walks through the main states and writes a
// picture of each; TAVREL_DEMO_QUIT=1 ends the program when done. "channel lists ready" on
// standard output tells a watching script that the lists are filled.
class DemoDriver : public QObject
{
    Q_OBJECT

public:
    DemoDriver(MainWindow* window, QObject* parent);

    // True when the environment switched the demonstration on.
    static bool requested();
    void start();

private:
    struct Step
    {
        QString name;
        std::function<void()> act;
        std::function<bool()> ready;
        // The window to take the picture of; the main window when none.
        QWidget* window = nullptr;
    };

    void appendEpgSteps(QTabWidget* tabs);
    // Steps that open a page of their own, show it in use and take its picture.
    void appendPageSteps();

    void poll();
    void shoot(const QString& name, QWidget* window);
    void finish();

    MainWindow* m_window = nullptr;
    QTimer* m_poll = nullptr;
    QList<Step> m_steps;
    qsizetype m_current = -1;
    int m_waited = 0;
    QDir m_folder;
    bool m_shots = false;
    bool m_quit = false;
};
