#pragma once

#include <QWidget>

// A soft coloured ring over one area of the card photograph.
class TBoardHighlight : public QWidget
{
public:
    explicit TBoardHighlight(QWidget* owner);

    void MouseEnter(bool forwarded);
    void MouseLeave(bool forwarded);
    void Click();
};
