#pragma once

#include "MessageBox.h"

#include <QList>
#include <QQueue>
#include <functional>

// Answers message boxes from a queue (OK or Cancel/No when it runs dry, as
// given, or what `choose` says when set) and records every box asked.
// Installed for its lifetime.
class ScriptedAnswerer
{
public:
    explicit ScriptedAnswerer(MsgBox::Result whenEmpty = MsgBox::Result::Ok) : m_whenEmpty(whenEmpty)
    {
        MsgBox::SetAnswerer([this](const MsgBox::Request& r) {
            asked.append(r);
            if (!answers.isEmpty())
                return answers.dequeue();
            return choose ? choose(r) : m_whenEmpty;
        });
    }
    ~ScriptedAnswerer() { MsgBox::SetAnswerer(nullptr); }
    ScriptedAnswerer(const ScriptedAnswerer&) = delete;
    ScriptedAnswerer& operator=(const ScriptedAnswerer&) = delete;

    QQueue<MsgBox::Result> answers;
    QList<MsgBox::Request> asked;
    // Answers the boxes that find the queue empty, when set.
    std::function<MsgBox::Result(const MsgBox::Request&)> choose;

private:
    MsgBox::Result m_whenEmpty;
};
