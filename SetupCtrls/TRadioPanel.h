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

    const QStringList& Lines() const { return m_lines; }
    void SetLines(const QStringList& lines) { m_lines = lines; }

    int MemoHeight() const { return m_memoHeight; }
    void SetMemoHeight(int value) { m_memoHeight = value; }

    TAnchors FinalAnchors() const { return m_finalAnchors; }
    void SetFinalAnchors(TAnchors value);

    TColor Color() const { return m_color; }
    void SetColor(TColor value);

    bool InPopup() const { return m_inPopup; }
    void SetInPopup(bool value) { m_inPopup = value; }
    QPlainTextEdit* PopupMemo() const { return m_popupMemo; }
    void SetPopupMemo(QPlainTextEdit* memo) { m_popupMemo = memo; }

    // One-of-many behaviour of the jumper glyph children: J closed, all others open.
    void RadioSelect(TTwoJumper* J);

    TRadioPanelChangeEvent OnRadioChange;
    TNotifyEvent OnActivate;   // handed to the pop-up window; never called here
    TNotifyEvent OnDeactivate; // likewise
    TNotifyEvent OnEnter;      // focus entering the panel

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    bool m_radioEnabled = false;
    QStringList m_lines;
    QPlainTextEdit* m_popupMemo = nullptr;
    int m_memoHeight = 58;
    TAnchors m_finalAnchors = akLeftTop();
    bool m_inPopup = false;
    TColor m_color = clBtnFace;
};
