#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

// The user's guide of the program, from its resources and in the user's language, with a
// button back to the guide's first page.
class HelpWidget : public QWidget
{
    Q_OBJECT

public:
    explicit HelpWidget(QWidget* parent);

    // The manual for a value of LC_NUMERIC: German for a German locale ("de_DE", "de_AT"),
    // English for every other value.
    static QUrl manualFor(const QString& localeName);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Form
    {
        QWidget* container = nullptr;
        QToolButton* helpHome_toolButton = nullptr;
        QTextBrowser* help_textBrowser = nullptr;
    };

    void setupForm(Form& form, const char* name, bool landscape);

    Form m_landscape;
    Form m_portrait;
};
