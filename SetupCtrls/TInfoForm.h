#pragma once

#include <QWidget>

class QPushButton;

// A stay-on-top information window with a Close button that is its cancel
// button: Escape presses it, which hides the window like the close box.
class TInfoForm : public QWidget
{
public:
    explicit TInfoForm(QWidget* owner);

    QPushButton* CloseButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
