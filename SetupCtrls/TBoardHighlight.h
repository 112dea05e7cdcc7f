#pragma once

#include "TColor.h"
#include "TPopupForm.h"
#include "TRadioPanel.h"

#include <QImage>
#include <QList>
#include <QMenuBar>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>

class TBoardImage;

// The kind of a highlight: its ring colour and its menu group.
enum THighlightType : std::uint8_t
{
    htOptions = 0,
    htSettings = 1,
    htCalibration = 2
};

// A title without its access-key marks: every '&' removed ("&&" as well).
QString StripAccelerators(const QString& title);
// A title reduced to identifier characters: leading characters up to the
// first ASCII letter or '_' dropped, then everything but ASCII letters,
// digits and '_'. A valid identifier and the empty string come back as given.
QString MakeIdentifier(const QString& title);

// A soft coloured ring over one area of the card photograph. Entering it
// brightens it and opens its pop-up window with its option panel; a click
// keeps that window on screen (pins it). Highlights of one board image with
// equal Title and HighlightType are linked: they light up, pin and close
// together and share one pop-up window and one menu entry.
class TBoardHighlight : public QWidget
{
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    explicit TBoardHighlight(QWidget* owner);
    ~TBoardHighlight() override;

    bool CreatePopup() const { return m_createPopup; }
    void SetCreatePopup(bool value) { m_createPopup = value; }

    THighlightType HighlightType() const { return m_highlightType; }
    void SetHighlightType(THighlightType value);

    TRadioPanel* RadioPanel() const { return m_radioPanel; }
    void SetRadioPanel(TRadioPanel* value);

    const QString& Title() const { return m_title; }
    void SetTitle(const QString& value);
    const QString& PlainTitle() const { return m_plainTitle; }
    const QString& IdentTitle() const { return m_identTitle; }

    TColor RingColor() const { return m_ringColor; }
    float DimStrength() const { return m_dimStrength; }
    float BrightStrength() const { return m_brightStrength; }
    float GlowStrength() const { return m_glowStrength; }

    TPopupForm* Popup() const { return m_popup; }
    QMenuBar* HostMenu() const { return m_hostMenu; }
    bool Entered() const { return m_entered; }
    bool Pinned() const { return m_pinned; }
    bool PopupActive() const { return m_popupActive; }
    bool ImagesBuilt() const { return m_imagesBuilt; }

    // The three prepared looks and the one a paint copies now.
    const QImage& DimImage() const { return m_dimImage; }
    const QImage& GlowImage() const { return m_glowImage; }
    const QImage& BrightImage() const { return m_brightImage; }
    const QImage& CurrentLook() const;

    // Mouse entry and exit; `forwarded` is set when a linked highlight passes
    // its own on.
    void MouseEnter(bool forwarded);
    void MouseLeave(bool forwarded);
    // The platform's click: OnClick, then Pin.
    void Click();

    void Pin();
    void PinAndFocus();
    void SetPopupActive(bool value, bool spreading = true);
    void ClearEntered();

    // The highlights linked to this one, itself included, in the parent's
    // current child order; none unless the parent is exactly a board image.
    QList<TBoardHighlight*> LinkedHighlights() const;

    // Pop-up window.
    void ShowPopup();
    void PopupClose();
    void DoneClick();

    // Menu entry (HighlightMenu.cpp).
    void BuildMenuEntry();
    void CheckMenuEntry(bool value);
    void MenuItemClick(QObject* sender);
    void SelectPrevious();
    void SelectNext();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent* e) override;
    void enterEvent(QEnterEvent* e) override;
    void leaveEvent(QEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    friend class TPopupForm;

    TBoardImage* boardParent() const;
    bool isLinkedTo(const TBoardHighlight* other) const;
    void firstPaintSetup();
    void renderLooks();
    QImage backdrop() const;
    void selectNeighbour(bool next);

    QImage m_dimImage;
    QImage m_glowImage;
    QImage m_brightImage;
    float m_dimStrength = 0.5f;
    float m_glowStrength = 1.0f;
    float m_brightStrength = 0.75f;
    TColor m_ringColor = clYellow;
    THighlightType m_highlightType = htOptions; // set to htSettings by the constructor
    bool m_entered = false;
    QPointer<TPopupForm> m_popup;
    QString m_title;
    QString m_plainTitle;
    QString m_identTitle;
    QPointer<QMenuBar> m_hostMenu;
    bool m_imagesBuilt = false;
    bool m_createPopup = true;
    bool m_pinned = false;
    QPointer<TRadioPanel> m_radioPanel;
    bool m_popupActive = false;

    bool m_pressed = false; // left button went down inside
};
