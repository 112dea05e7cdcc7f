#pragma once

#include <QString>
#include <functional>

class QWidget;

// The system's modal message box, behind one seam so tests can answer it.
namespace MsgBox {

enum class Buttons { Ok, OkCancel, RetryCancel, YesNo };
enum class Icon { None, Question, Exclamation, Information, Error };
enum class Result { Ok, Cancel, Retry, Yes, No };

struct Request
{
    QWidget* owner = nullptr; // null: owned by the application
    QString text;
    QString caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
    int defaultButton = 0; // 0-based index among the buttons
    bool topmost = false;
    bool foreground = false;
};

// Shows the box and returns the button pressed; closing the box counts as
// Cancel (or No for Yes/No, Ok for a box with OK only).
Result Show(const Request& request);

Result Show(QWidget* owner, const QString& text, const QString& caption,
            Buttons buttons = Buttons::Ok, Icon icon = Icon::None);

// Replaces the real box, for tests; an empty function restores it.
using Answerer = std::function<Result(const Request&)>;
void SetAnswerer(Answerer answerer);

} // namespace MsgBox
