#pragma once

#include "Anchors.h"
#include "TColor.h"

#include <QStringList>
#include <QWidget>
#include <functional>

class QPlainTextEdit;
class TTwoJumper;

// A hidden panel carrying the controls and explanatory text of one highlight;
// its highlight's pop-up window takes it in and shows it (see TPopupForm).
class TRadioPanel : public QWidget
{
public:
    using TRadioPanelChangeEvent = std::function<void(QObject* sender)>;
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TRadioPanel(QWidget* owner);

    bool RadioEnabled() const { return m_radioEnabled; }
    void SetRadioEnabled(bool value) { m_radioEnabled = value; }

    // The panel owns its lines; assigning copies them.
    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines) { m_lines = lines; }

    int MemoHeight() const { return m_memoHeight; }
    void SetMemoHeight(int value) { m_memoHeight = value; }

    // The anchors the panel takes once its pop-up window has taken it in;
    // until then it stays anchored left and top.
    TAnchors FinalAnchors() const { return m_finalAnchors; }
    void SetFinalAnchors(TAnchors value);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    // Set by the pop-up window that takes the panel in; the panel itself
    // never reads PopupMemo.
    bool InPopup() const { return m_inPopup; }
    void SetInPopup(bool value) { m_inPopup = value; }
    QPlainTextEdit* PopupMemo() const { return m_popupMemo; }
    void SetPopupMemo(QPlainTextEdit* memo) { m_popupMemo = memo; }

    // One-of-many behaviour of the jumper glyph children: J closed, all others open.
    void RadioSelect(TTwoJumper* J);

    TRadioPanelChangeEvent OnRadioChange;
    TNotifyEvent OnActivate;   // handed to the pop-up window; never called here
    TNotifyEvent OnDeactivate; // likewise
    TNotifyEvent OnEnter;      // the focus moves into the panel or one of its controls

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void focusMoved(QWidget* now);

    bool m_radioEnabled = false;
    QStringList m_lines;
    QPlainTextEdit* m_popupMemo = nullptr;
    int m_memoHeight = 58;
    TAnchors m_finalAnchors = akLeftTop();
    bool m_inPopup = false;
    TColor m_color = clBtnFace;
    bool m_focusInside = false; // the focus of the panel's window is inside it
};
