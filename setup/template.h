#pragma once

#include <QMainWindow>
#include <cstdint>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class TBoardHighlight;
class TBoardImage;
class TRadioPanel;
class TSetupSupporter;
class TTwoJumper;
class TUpDown;
enum class TUpDownDirection;

// The setup window of the four-port serial card QL-4S. Its layout (every
// component, its values and its handlers) is created by the constructor from
// the layout files of this folder; FormCreate runs once everything exists.
class TMainForm : public QMainWindow
{
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    // The client area: the parent of the layout's controls.
    QWidget* Client() const { return m_client; }

    // Window, menu and board image.
    TBoardImage* BoardImage1 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QMenu* File1 = nullptr;
    QAction* Exit2 = nullptr;
    QMenu* Help1 = nullptr;
    QAction* Howtousethisprogram1 = nullptr;
    QAction* TechnicalSupport1 = nullptr;
    TSetupSupporter* SetSup = nullptr;

    // Highlights and option panels.
    TBoardHighlight* BaseHighlight = nullptr;
    TBoardHighlight* ClockHighlight = nullptr;
    TBoardHighlight* COMHighlight = nullptr;
    TBoardHighlight* DFHighlight = nullptr;
    TBoardHighlight* COMBaseHighlight = nullptr;
    TRadioPanel* ClockPanel = nullptr;
    TRadioPanel* BasePanel = nullptr;
    TRadioPanel* COMPanel0 = nullptr;
    TRadioPanel* COMBasePanel = nullptr;
    TRadioPanel* DFPanel = nullptr;

    // Control base address and option jumpers.
    QLineEdit* BaseEdit = nullptr;
    QLabel* BaseLabelFeedback = nullptr;
    QLabel *Label30 = nullptr, *Label1 = nullptr, *BaseLabel9 = nullptr, *BaseLabel8 = nullptr,
           *BaseLabel7 = nullptr, *BaseLabel6 = nullptr, *BaseLabel5 = nullptr,
           *Label26 = nullptr;
    TTwoJumper *BaseJumper4A = nullptr, *BaseJumper5A = nullptr, *BaseJumper6A = nullptr,
               *BaseJumper7A = nullptr, *BaseJumper8A = nullptr, *BaseJumper9A = nullptr,
               *DFJumperB = nullptr, *ClockJumperC = nullptr;
    QLabel *Label24 = nullptr, *Label23 = nullptr, *InvertLabel = nullptr;
    TTwoJumper *BaseJumper9C = nullptr, *DFJumperC = nullptr, *ClockJumperA = nullptr;
    QComboBox* ClockCombo = nullptr;
    QLabel *Label22 = nullptr, *Label21 = nullptr, *Label20 = nullptr, *Label25 = nullptr;
    TTwoJumper *BaseJumper8B = nullptr, *BaseJumper9B = nullptr, *DFJumperA = nullptr,
               *ClockJumperB = nullptr;
    QComboBox* DFCombo = nullptr;

    // Port resources.
    QLabel *Label3 = nullptr, *Label4 = nullptr, *Label5 = nullptr, *Label6 = nullptr,
           *Label16 = nullptr, *Label19 = nullptr, *DittoLabel = nullptr;
    QLineEdit *BaseEditA = nullptr, *BaseEditB = nullptr, *BaseEditC = nullptr,
              *BaseEditD = nullptr;
    TUpDown *BaseUDA = nullptr, *BaseUDB = nullptr, *BaseUDC = nullptr, *BaseUDD = nullptr;
    QComboBox* IRQCombo = nullptr;
    QPushButton *ConfigButton = nullptr, *UseButton = nullptr;
    std::uint16_t ControlBase = 0;

    // Handlers of the window, its menu and start-up.
    void FormCreate(QObject* Sender);
    void Exit2Click(QObject* Sender);
    void Howtousethisprogram1Click(QObject* Sender);
    void TechnicalSupport1Click(QObject* Sender);

    // Handlers of the control base address and the option jumpers.
    void BaseEditChange(QObject* Sender);
    void BaseJumperClick(QObject* Sender);
    void ClockJumperClick(QObject* Sender);
    void ClockComboChange(QObject* Sender);
    void DFJumperClick(QObject* Sender);
    void DFComboChange(QObject* Sender);
    // Removes every leading "0"; a text of zeros only becomes "0".
    static QString StripLeadingZeros(const QString& text);
    // Handlers and routines of the port resources (PortHandlers.cpp).
    void COMBasePanelEnter(QObject* Sender);
    void ConfigButtonClick(QObject* Sender);
    void UseButtonClick(QObject* Sender);
    void PortBaseEditChange(QObject* Sender);
    void BaseEditKeyDown(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift);
    void BaseUDChangingEx(QObject* Sender, bool& AllowChange, std::int16_t NewValue,
                          TUpDownDirection Direction);
    std::uint8_t ReadPortSetting(int Port);
    bool CheckSetting(const QString& Text, const QString& What);
    void WriteConfigRegister(std::uint8_t Index, std::uint8_t Value);

private:
    void createWindowLayout();   // layout/window.cpp
    void createBoardLayout();    // layout/board.cpp
    void createAddressLayout();  // layout/address.cpp
    void createPortLayout();     // layout/ports.cpp
    void createMenuAndSupporter(); // layout/window.cpp
    void resolveReferences();    // layout/board.cpp

    QWidget* m_client = nullptr;
    bool m_writingPorts = false; // a port resource write sequence is running
};
