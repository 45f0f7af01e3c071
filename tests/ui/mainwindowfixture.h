#pragma once

#include <QDBusConnection>
#include <QLineEdit>
#include <QMainWindow>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTest>
#include <QVBoxLayout>

// A main window shaped like the program's: a stack of pages with the first one showing, and
// a settings page with a layout and a text field.
struct MainWindowFixture
{
    MainWindowFixture()
    {
        window.setWindowTitle(QStringLiteral("TavrelControl Lite"));
        auto* stack = new QStackedWidget(&window);
        mainPage = new QWidget(stack);
        settingsPage = new QWidget(stack);
        auto* layout = new QVBoxLayout(settingsPage);
        field = new QLineEdit(settingsPage);
        layout->addWidget(field);
        stack->addWidget(mainPage);
        stack->addWidget(settingsPage);
        window.setCentralWidget(stack);
        window.setGeometry(100, 120, 640, 400);
    }

    bool show()
    {
        window.show();
        return QTest::qWaitForWindowExposed(&window);
    }

    // Any warning fails the test, but the offscreen platform's notes that it has no window
    // manager to pass size hints or raising on to.
    static void failOnWarnings()
    {
        QTest::failOnWarning(QRegularExpression(QStringLiteral("^(?!This plugin does not support ).*")));
    }

    // A connection that was never opened: no bus at all.
    static QDBusConnection noBus() { return QDBusConnection(QStringLiteral("tavrel-test-no-bus")); }

    QMainWindow window;
    QWidget* mainPage = nullptr;
    QWidget* settingsPage = nullptr;
    QLineEdit* field = nullptr;
};
