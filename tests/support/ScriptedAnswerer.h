#pragma once

#include "MessageBox.h"

#include <QList>
#include <QQueue>

// Answers message boxes from a queue (OK or Cancel/No when it runs dry, as
// given) and records every box asked. Installed for its lifetime.
class ScriptedAnswerer
{
public:
    explicit ScriptedAnswerer(MsgBox::Result whenEmpty = MsgBox::Result::Ok) : m_whenEmpty(whenEmpty)
    {
        MsgBox::SetAnswerer([this](const MsgBox::Request& r) {
            asked.append(r);
            return answers.isEmpty() ? m_whenEmpty : answers.dequeue();
        });
    }
    ~ScriptedAnswerer() { MsgBox::SetAnswerer(nullptr); }
    ScriptedAnswerer(const ScriptedAnswerer&) = delete;
    ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

    QQueue<MsgBox::Result> answers;
    QList<MsgBox::Request> asked;

private:
    MsgBox::Result m_whenEmpty;
};
