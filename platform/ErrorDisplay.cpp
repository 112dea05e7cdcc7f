#include "ErrorDisplay.h"

#include "MessageBox.h"

#include <QCoreApplication>
#include <stdexcept>

void ShowErrorMessage(const QString& message)
{
    MsgBox::Request r;
    r.text = message;
    r.caption = QCoreApplication::applicationName();
    r.buttons = MsgBox::Buttons::Ok;
    r.icon = MsgBox::Icon::Error;
    MsgBox::Show(r);
}

void ShowException(const std::exception& e) { ShowErrorMessage(QString::fromStdString(e.what())); }
