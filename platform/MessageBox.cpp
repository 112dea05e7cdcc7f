#include "MessageBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace MsgBox {
namespace {

Answerer& answerer()
{
    static Answerer a;
    return a;
}

QMessageBox::Icon qtIcon(Icon icon)
{
    switch (icon) {
    case Icon::Question:
        return QMessageBox::Question;
    case Icon::Exclamation:
        return QMessageBox::Warning;
    case Icon::Information:
        return QMessageBox::Information;
    case Icon::Error:
        return QMessageBox::Critical;
    case Icon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

struct Choice
{
    QMessageBox::StandardButton button;
    Result result;
};

QList<Choice> choicesFor(Buttons buttons)
{
    switch (buttons) {
    case Buttons::OkCancel:
        return {{QMessageBox::Ok, Result::Ok}, {QMessageBox::Cancel, Result::Cancel}};
    case Buttons::RetryCancel:
        return {{QMessageBox::Retry, Result::Retry}, {QMessageBox::Cancel, Result::Cancel}};
    case Buttons::YesNo:
        return {{QMessageBox::Yes, Result::Yes}, {QMessageBox::No, Result::No}};
    case Buttons::Ok:
        break;
    }
    return {{QMessageBox::Ok, Result::Ok}};
}

Result closedResult(Buttons buttons)
{
    switch (buttons) {
    case Buttons::Ok:
        return Result::Ok;
    case Buttons::YesNo:
        return Result::No;
    default:
        return Result::Cancel;
    }
}

} // namespace

Result Show(const Request& r)
{
    if (answerer())
        return answerer()(r);

    QMessageBox box(qtIcon(r.icon), r.caption, r.text, QMessageBox::NoButton, r.owner);
    box.setWindowModality(r.owner ? Qt::WindowModal : Qt::ApplicationModal);
    if (r.topmost)
        box.setWindowFlag(Qt::WindowStaysOnTopHint, true);
    const QList<Choice> choices = choicesFor(r.buttons);
    for (const Choice& c : choices)
        box.addButton(c.button);
    const int def = (r.defaultButton >= 0 && r.defaultButton < choices.size()) ? r.defaultButton : 0;
    box.setDefaultButton(choices[def].button);
    // Escape answers Cancel/No where there is one; a single OK takes it too.
    box.setEscapeButton(choices.back().button);
    if (r.foreground) {
        box.show();
        box.raise();
        box.activateWindow();
    }
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (const Choice& c : choices)
        if (clicked && clicked == box.button(c.button))
            return c.result;
    return closedResult(r.buttons);
}

Result Show(QWidget* owner, const QString& text, const QString& caption, Buttons buttons, Icon icon)
{
    Request r;
    r.owner = owner;
    r.text = text;
    r.caption = caption;
    r.buttons = buttons;
    r.icon = icon;
    return Show(r);
}

void SetAnswerer(Answerer a) { answerer() = std::move(a); }

} // namespace MsgBox
