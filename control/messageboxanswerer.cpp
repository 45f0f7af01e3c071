#include "control/messageboxanswerer.h"

#include "control/messagebox.h"

#include <QAbstractButton>

#include <algorithm>
#include <utility>

MessageBoxAnswerer::MessageBoxAnswerer()
{
    Q_ASSERT(!MessageBox::s_answerer);
    MessageBox::s_answerer = this;
}

MessageBoxAnswerer::~MessageBoxAnswerer()
{
    MessageBox::s_answerer = nullptr;
}

void MessageBoxAnswerer::answerNext(Answer answer)
{
    m_answers.append(answer);
}

void MessageBoxAnswerer::holdNextOpen(std::function<void()> whileOpen)
{
    m_whileOpen = std::move(whileOpen);
}

QStringList MessageBoxAnswerer::askedTexts() const
{
    QStringList texts;
    for (const AskedMessageBox& box : m_asked)
        texts.append(box.text);
    return texts;
}

bool MessageBoxAnswerer::answer(const QMessageBox& box, const QAbstractButton* accept)
{
    AskedMessageBox asked;
    asked.text = box.text();
    asked.icon = box.icon();
    const QList<QAbstractButton*> buttons = box.buttons();
    for (const QAbstractButton* button : buttons)
        asked.buttons.append(button->text());
    asked.textFormat = box.textFormat();
    asked.parent = box.parentWidget();
    asked.modal = box.isModal();
    m_asked.append(asked);

    const Answer answer = m_answers.isEmpty() ? m_defaultAnswer : m_answers.takeFirst();
    ++m_open;
    m_mostOpen = std::max(m_mostOpen, m_open);
    if (m_whileOpen) {
        const std::function<void()> whileOpen = std::exchange(m_whileOpen, nullptr);
        whileOpen();
    }
    --m_open;
    return answer == Answer::Accept && accept;
}
