#include "control/messagebox.h"

#include "control/messageboxanswerer.h"

#include <QPushButton>

namespace {

void prepare(QMessageBox& box, QMessageBox::Icon icon, const QString& text)
{
    box.setModal(true);
    box.setTextFormat(Qt::RichText);
    box.setIcon(icon);
    box.setText(text);
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
