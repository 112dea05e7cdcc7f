#pragma once

#include <QWidget>

class QPlainTextEdit;
class QPushButton;

// The technical-support window. The setup supporter creates its controls; Escape
// presses Close, which hides the window, like the close box.
class TTechForm : public QWidget
{
public:
    explicit TTechForm(QWidget* owner);

    QPlainTextEdit* TechMemo = nullptr;
    QPushButton* CloseButton = nullptr;

protected:
    void keyPressEvent(QKeyEvent* e) override;
};
