#pragma once

#include "core/message_service.h"
#include "qt_printing.h"

#include <QStringList>
#include <deque>
#include <functional>

// Records every message and answers questions from a queue (No when empty).
class RecordingMessageService : public MessageService
{
public:
    struct Entry
    {
        QString text;
        Icon icon;
        QString title;
        bool question;
    };

    void show(const QString& text, Icon icon, const QString& title) override
    {
        m_entries.push_back({text, icon, title, false});
        if (onShow)
            onShow();
    }

    // Runs while a message is up, as a person or a signal might.
    std::function<void()> onShow;

    bool ask(const QString& text, const QString& title) override
    {
        m_entries.push_back({text, Icon::Exclamation, title, true});
        if (m_answers.empty())
            return false;
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    int choose(const QString& text, const QStringList& choices) override
    {
        m_entries.push_back({text + u'\n' + choices.join(u'|'), Icon::Exclamation, {}, true});
        if (m_choices.empty())
            return -1;
        const int choice = m_choices.front();
        m_choices.pop_front();
        return choice;
    }

    void queueAnswer(bool yes) { m_answers.push_back(yes); }
    void queueChoice(int index) { m_choices.push_back(index); }
    const std::vector<Entry>& entries() const { return m_entries; }
    QStringList texts() const
    {
        QStringList out;
        for (const Entry& e : m_entries)
            out << e.text;
        return out;
    }
    // The text of the one message shown; otherwise all of them, counted.
    QString only() const
    {
        if (m_entries.size() == 1)
            return m_entries.front().text;
        return QStringLiteral("<%1 messages> ").arg(m_entries.size()) + texts().join(u'|');
    }
    void clear() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
    std::deque<bool> m_answers;
    std::deque<int> m_choices;
};
