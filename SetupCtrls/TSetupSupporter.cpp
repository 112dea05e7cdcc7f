#include "TSetupSupporter.h"

#include "Application.h"

TSetupSupporter::TSetupSupporter(QObject* owner) : QObject(owner) {}

void TSetupSupporter::IdleStart(QObject* Sender, bool&)
{
    if (auto* app = dynamic_cast<TApplication*>(Sender))
        app->SetOnIdle(nullptr);
}
