#pragma once

#include "THelpForm.h"
#include "TPCIForm.h"
#include "TTechForm.h"

#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>

class QLabel;
class QListWidget;
class QPushButton;
class QTimer;
class QWidget;

// One calibration display of a host. Each field points at the host's member
// that holds the control; it is read at every use, so the host may replace
// the control at any time. A null slot or control is passed over.
struct TCalibDisplay
{
    QListWidget** ResultList = nullptr; // line N receives channel N's result
    QPushButton** RunButton = nullptr;  // reset to "Start" when a run ends
    QWidget** HideOnRun = nullptr;      // hidden by every pass
};

// Builds the header label and the help, technical-support and installed-cards
// windows at the first idle moment, shows the help window shortly after, and
// drives calibration runs for hosts that have them. Its one timer (100 ms)
// runs while the help window is pending or a run is on.
class TSetupSupporter : public QObject
{
public:
    using TNotifyEvent = std::function<void(QObject* Sender)>;
    using TPCIEvent = std::function<QString(QObject* Sender, std::int32_t CardIndex)>;
    using TCalibEvent =
        std::function<QString(QObject* Sender, std::uint8_t Channel, bool& ItsAllBad)>;

    static constexpr int MaxCalibDisplays = 256;
    static constexpr int TimerInterval = 100;

    explicit TSetupSupporter(QObject* owner);
    ~TSetupSupporter() override;

    // Properties.
    const QString& CompanyName() const { return m_companyName; }
    void SetCompanyName(const QString& value) { m_companyName = value; }
    const QString& CardNameA() const { return m_cardNameA; }
    void SetCardNameA(const QString& value) { m_cardNameA = value; }
    const QString& CardNameB() const { return m_cardNameB; }
    void SetCardNameB(const QString& value) { m_cardNameB = value; }
    bool UseCardNameB() const { return m_useCardNameB; }
    void SetUseCardNameB(bool value) { m_useCardNameB = value; }
    const QString& CallHow() const { return m_callHow; }
    void SetCallHow(const QString& value) { m_callHow = value; }
    bool MultiPort() const { return m_multiPort; }
    void SetMultiPort(bool value) { m_multiPort = value; }
    std::uint8_t Channels() const { return m_channels; }
    void SetChannels(std::uint8_t value) { m_channels = value; }
    bool ChangeButtons() const { return m_changeButtons; }
    void SetChangeButtons(bool value) { m_changeButtons = value; }
    bool bSeries() const { return m_bSeries; }
    void SetbSeries(bool value) { m_bSeries = value; }

    // Assigning it restarts the timer's interval when the timer runs.
    const TNotifyEvent& OnBeginCalib() const { return m_onBeginCalib; }
    void SetOnBeginCalib(TNotifyEvent handler);
    // When assigned before the windows are built, the installed-cards
    // window and its File-menu entry are built too.
    TPCIEvent OnGetCardString;
    TCalibEvent OnGetCalibString;
    TNotifyEvent OnStopButtonClick; // kept for the host; never called here
    TNotifyEvent OnStartButtonClick;

    // The card name in use: CardNameB when UseCardNameB, else CardNameA.
    QString CardName() const;
    // The help document (RTF) and the support text for the current properties.
    QString HelpDocument() const;
    QString SupportText() const;

    // Run-time state.
    bool HelpPending() const { return m_helpPending; }
    bool Calibrating() const { return m_calibrating; }
    void SetCalibrating(bool value);
    bool CardFound() const { return m_cardFound; }
    QTimer* TimerWindow() const { return m_timer; }

    // Built by BuildWindows; owned by the main window.
    QLabel* HeaderLabel = nullptr;
    THelpForm* HelpForm = nullptr;
    TTechForm* TechForm = nullptr;
    TPCIForm* PCIForm = nullptr; // only when OnGetCardString is assigned

    // Calibration displays, at most MaxCalibDisplays; the supporter only reads them.
    const QList<TCalibDisplay>& CalibDisplays() const { return m_calibDisplays; }
    bool AddCalibDisplay(const TCalibDisplay& display); // false when the list is full
    void ClearCalibDisplays() { m_calibDisplays.clear(); }

    // The application's idle handler: unhooks itself, then builds the windows.
    void IdleStart(QObject* Sender, bool& Done);
    // Builds the header label and the windows; later calls do nothing.
    void BuildWindows();
    // Stops the timer and starts it anew (100 ms) while help is pending or a run is on.
    void UpdateTimer();
    // One timer tick: shows the pending help window, or runs one calibration pass.
    void TimerTick();

    void CloseButtonClick(QObject* Sender);
    void DisplayPCIClick(QObject* Sender);
    void ResetButtons();
    void ShowChannelLine(std::uint8_t Channel, const QString& Text);

    // The main window: the window of the widget that owns the supporter.
    QWidget* MainWindow() const;

private:
    void buildHeaderLabel(QWidget* main);
    void buildHelpForm(QWidget* main);
    void buildTechForm(QWidget* main);
    void buildInstalledCards(QWidget* main);
    void addDisplayPCIEntry(QWidget* main);
    void calibrationPass();
    void timerFired();

    QString m_companyName;
    QString m_cardNameA;
    QString m_cardNameB;
    bool m_useCardNameB = false;
    QString m_callHow;
    bool m_multiPort = false;
    std::uint8_t m_channels = 8;
    bool m_changeButtons = true;
    bool m_bSeries = true;
    TNotifyEvent m_onBeginCalib;

    bool m_helpPending = false;
    bool m_calibrating = false;
    bool m_cardFound = false;
    bool m_built = false;
    bool m_inTick = false;
    QTimer* m_timer = nullptr;
    QList<TCalibDisplay> m_calibDisplays;
    QList<QWidget*> m_unownedWindows; // built without a main window: deleted with the supporter
};

// The application's main window for a component owned by owner: the window of
// the nearest widget among owner and its parents; without one, the first
// top-level QMainWindow.
QWidget* MainWindowOf(QObject* owner);
// Where a main window's controls live: a QMainWindow's central widget, else the window.
QWidget* MainWindowClient(QWidget* main);
