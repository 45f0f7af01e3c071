#include "ui/pages/helpwidget.h"

#include <QBoxLayout>
#include <QIcon>
#include <QResizeEvent>
#include <QTextBrowser>
#include <QToolButton>

namespace {

constexpr int homeIconSize = 48;

} // namespace

HelpWidget::HelpWidget(QWidget* parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("helpWidget"));
    setupForm(m_landscape, "HelpWidget_ls", true);
    setupForm(m_portrait, "HelpWidget_pt", false);
    m_portrait.container->hide();
    const QUrl manual = manualFor(qEnvironmentVariable("LC_NUMERIC"));
    for (Form* form : {&m_landscape, &m_portrait})
        form->help_textBrowser->setSource(manual);
}

QUrl HelpWidget::manualFor(const QString& localeName)
{
    const qsizetype underscore = localeName.lastIndexOf(QLatin1Char('_'));
    const QString language = underscore < 0 ? QString() : localeName.left(underscore);
    if (language == QLatin1String("de"))
        return QUrl(QStringLiteral("qrc:/help_files/html/index_") + language + QStringLiteral(".html"));
    return QUrl(QStringLiteral("qrc:/help_files/html/index_en.html"));
}

void HelpWidget::setupForm(Form& form, const char* name, bool landscape)
{
    form.container = new QWidget(this);
    form.container->setObjectName(QString::fromLatin1(name));
    form.helpHome_toolButton = new QToolButton(form.container);
    form.helpHome_toolButton->setObjectName(QStringLiteral("helpHome_toolButton"));
    form.helpHome_toolButton->setIcon(QIcon(QStringLiteral(":/buttons/buttons/home_64.png")));
    form.helpHome_toolButton->setIconSize(QSize(homeIconSize, homeIconSize));
    form.helpHome_toolButton->setToolTip(tr("Back to the first page of the manual"));
    form.help_textBrowser = new QTextBrowser(form.container);
    form.help_textBrowser->setObjectName(QStringLiteral("help_textBrowser"));
    // Links to the web open in the user's browser; the manual's own pages open here.
    form.help_textBrowser->setOpenExternalLinks(true);
    auto* layout =
        new QBoxLayout(landscape ? QBoxLayout::LeftToRight : QBoxLayout::TopToBottom, form.container);
    layout->addWidget(form.helpHome_toolButton, 0, landscape ? Qt::AlignTop : Qt::AlignLeft);
    layout->addWidget(form.help_textBrowser, 1);
    connect(form.helpHome_toolButton, &QToolButton::clicked, form.help_textBrowser, &QTextBrowser::home);
}

void HelpWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    const bool landscape = size.width() > size.height();
    m_landscape.container->setGeometry(QRect(QPoint(0, 0), size));
    m_portrait.container->setGeometry(QRect(QPoint(0, 0), size));
    m_landscape.container->setVisible(landscape);
    m_portrait.container->setVisible(!landscape);
}
