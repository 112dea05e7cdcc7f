#pragma once

#include <QWidget>

class QLabel;
class QPushButton;
class QTextEdit;

// The help window "How to use this program". The setup supporter creates its
// controls; Enter and Escape press Start, the close box hides the window.
class THelpForm : public QWidget
{
public:
    explicit THelpForm(QWidget* owner);

    QLabel* HelpLabel = nullptr;
    QTextEdit* HelpRich = nullptr;
    QPushButton* StartButton = nullptr;

    // Hides the window and asks the main window's first board image to present
    // its First highlight.
    void StartButtonClick(QObject* Sender);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void showEvent(QShowEvent* e) override;
};
