#pragma once

#include <QEvent>
#include <QMargins>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class TBoardHighlight;
class TRadioPanel;

// The small stay-on-top tool window a highlight opens: the highlight's
// option panel at the top left, a read-only memo with the panel's text, the
// buttons "Previous", "Next" and "Done", and an empty status strip. Closing
// hides it; the highlight shows it again on its next entry.
class TPopupForm : public QWidget
{
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    // Smallest outer size of the window.
    static constexpr int MinOuterWidth = 194;
    static constexpr int MinOuterHeight = 122;

    explicit TPopupForm(TBoardHighlight* owner);

    TBoardHighlight* Highlight() const { return m_highlight; }

    bool CloseOnLeave() const { return m_closeOnLeave; }
    void SetCloseOnLeave(bool value) { m_closeOnLeave = value; }

    // The window's tag, a number identifying what it shows; for a pop-up the
    // ordinal of its highlight's type. Windows without one read 0.
    static int Tag(const QWidget* window);
    void SetTag(int value);

    // Takes in the highlight's panel (if any), sizes and places the window
    // and creates its children. Runs once, right after construction.
    void Build(TRadioPanel* panel);

    // The frame the platform draws around the client area, as far as it is
    // known for this window.
    QMargins FrameMargins() const;

    // Where a window with outer rectangle `outer` goes so that it stays on a
    // screen of the given size: moved to 0 when left of or above it, moved
    // back to end at its right or bottom edge when it reaches past it.
    static QPoint KeepOnScreen(const QRect& outer, const QSize& screen);

    QStatusBar* PopupStatus = nullptr;
    QPushButton* PreviousButton = nullptr;
    QPushButton* NextButton = nullptr;
    QPushButton* DoneButton = nullptr;
    QPlainTextEdit* StatusMemo = nullptr;

    // Taken from the panel; called when the window is activated or
    // deactivated.
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;

protected:
    bool event(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void leaveEvent(QEvent* e) override;

private:
    void createChildren(int memoHeight);
    void activationChanged(QEvent::Type type);

    TBoardHighlight* m_highlight;
    bool m_closeOnLeave = false;
};
