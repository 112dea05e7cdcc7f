#pragma once

#include <QWidget>

class TBoardHighlight;

// The small stay-on-top tool window a highlight opens over the setup window.
class TPopupForm : public QWidget
{
public:
    explicit TPopupForm(TBoardHighlight* owner);

    TBoardHighlight* Highlight() const { return m_highlight; }

    bool CloseOnLeave() const { return m_closeOnLeave; }
    void SetCloseOnLeave(bool value) { m_closeOnLeave = value; }

private:
    TBoardHighlight* m_highlight;
    bool m_closeOnLeave = false;
};
