#pragma once

#include "core/message_service.h"

#include <QStringList>

#include <deque>

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
    }

    bool ask(const QString& text, const QString& title) override
    {
        m_entries.push_back({text, Icon::Exclamation, title, true});
        if (m_answers.empty())
            return false;
        const bool answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void queueAnswer(bool yes) { m_answers.push_back(yes); }
    const std::vector<Entry>& entries() const { return m_entries; }
    QStringList texts() const
    {
        QStringList out;
        for (const Entry& e : m_entries)
            out << e.text;
        return out;
    }
    void clear() { m_entries.clear(); }

private:
    std::vector<Entry> m_entries;
    std::deque<bool> m_answers;
};
