#pragma once

#include <QObject>

class QWidget;

// Builds the header label and the help and technical-support windows at the
// first idle moment, and drives calibration runs for hosts that have them.
class TSetupSupporter : public QObject
{
public:
    explicit TSetupSupporter(QObject* owner);

    void IdleStart(QObject* Sender, bool& Done);

    QWidget* HelpForm = nullptr;
    QWidget* TechForm = nullptr;
};
