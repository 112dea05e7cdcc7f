#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The installed-cards window. The setup supporter creates its controls; Escape
// presses Close, which hides the window, like the close box.
class TPCIForm : public QWidget
{
public:
    explicit TPCIForm(QWidget* owner);

    QPlainTextEdit* PCIMemo = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
