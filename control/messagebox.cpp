#include "control/messagebox.h"

#include "control/messageboxanswerer.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QSpacerItem>

namespace {

// Room for the window manager's buttons beside the title.
constexpr int titleBarButtonsWidth = 160;

void prepare(QMessageBox& box, QMessageBox::Icon icon, const QString& text)
{
    box.setModal(true);
    box.setTextFormat(Qt::RichText);
    box.setIcon(icon);
    box.setText(text);
    // A short question makes a narrow box, and the window manager cuts its title.
    const QString title =
        box.windowTitle().isEmpty() ? QGuiApplication::applicationDisplayName() : box.windowTitle();
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
        const int width = box.fontMetrics().horizontalAdvance(title) + titleBarButtonsWidth;
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(),
                      0, 1, grid->columnCount());
    }
}

} // namespace

bool MessageBox::question(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(parent);
    prepare(box, icon, text);
    const QPushButton* yes = box.addButton(tr("Yes"), QMessageBox::AcceptRole);
    box.addButton(tr("No"), QMessageBox::RejectRole);
    return run(box, yes);
}

bool MessageBox::destructiveQuestion(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(parent);
    prepare(box, icon, text);
    const QPushButton* yes = box.addButton(tr("Yes"), QMessageBox::AcceptRole);
    QPushButton* no = box.addButton(tr("No"), QMessageBox::RejectRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    return run(box, yes);
}

void MessageBox::notice(QWidget* parent, QMessageBox::Icon icon, const QString& text)
{
    QMessageBox box(parent);
    prepare(box, icon, text);
    const QPushButton* ok = box.addButton(tr("OK"), QMessageBox::AcceptRole);
    run(box, ok);
}

bool MessageBox::run(QMessageBox& box, const QAbstractButton* accept)
{
    if (s_answerer)
        return s_answerer->answer(box, accept);
    box.exec();
    return box.clickedButton() == accept;
}
