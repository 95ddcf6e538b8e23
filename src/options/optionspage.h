#pragma once

#include "options/settings.h"
#include "register/registercard.h"

#include <QPointer>
#include <QStringList>
#include <QWidget>
#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSlider;

namespace quirlanto {

class BoxPasswords;
struct BoxAccess;
class FritzBoxDialog;
class RegisterDocument;
class SettingsStore;

// What the page hands back when it is left: the owner stores it and writes the register.
struct OptionValues {
    Settings settings;
    CardNames cardNames;
};

// The "Optionen" card: a view of the register document's settings, with the provider list
// and the dial device chooser. Values go back to the document, which keeps and writes them.
class OptionsPage final : public QWidget {
    Q_OBJECT
public:
    // `ports`: where the devices of the serial ports are kept.
    OptionsPage(RegisterDocument &book, SettingsStore &ports, QWidget *parent = nullptr);

    // The document's values to the controls; the lists' font for the sample.
    void load(const QFont &listFont);
    // The controls' values to the document; a failed write has been reported when this returns.
    void save();

    // Settings, the four card captions and the lists' font to the controls.
    void loadOptionControls(const Settings &settings, const CardNames &cardNames, const QFont &listFont);
    // The controls over `base`: fields without a control (dial device, reservedValue) stay as in `base`.
    OptionValues saveOptionControls(const Settings &base) const;
    // Sets the sample "Aa" to the size the slider stands for; its frame keeps it centred.
    void updateFontSample();

    // The dial device options; setting them does not count as a click.
    void setDialDevice(DialDevice device);

    int sampleFontSize() const;
    // The slider is upside down: the top end (value 6) gives 24 points. The formula is its own inverse.
    static int sliderValueForSize(double size);
    static int sizeForSliderValue(int value) { return kMaxEntryFontSize - value + kMinEntryFontSize; }

    // The page's last control that takes the focus, or null.
    QWidget *lastInFocusChain() const;

    QLineEdit *countryBox() const { return m_country; }

    // Where the router's password is kept; without one the set-up dialog stores none.
    // `programDirectory` as for FritzBoxLink.
    void setBoxPasswords(BoxPasswords *passwords, const QString &programDirectory = {});
    // "Einrichten …": the dialog "FRITZ!Box", open until answered; its values are stored on OK.
    FritzBoxDialog *setUpFritzBox();

signals:
    // "Debug" beside "Modem- antwort".
    void showModemAnswerClicked();

private:
    void updateHandoverEnabling();
    void choosePortDevice();
    // Greys what the chosen device does not use.
    void applyDialDevice();
    // The installed phone programs to choose from; the choice greyed when there is none.
    void showPhonePrograms();
    void storeFritzBox(const BoxAccess &access);
    void addSettingControls(DialSetting setting, std::initializer_list<QWidget *> controls);

    RegisterDocument &m_book;
    SettingsStore &m_ports;

    QRadioButton *m_modem;
    QRadioButton *m_speaker;
    QRadioButton *m_phoneProgram;
    QComboBox *m_phoneProgramList;
    QRadioButton *m_fritzBox;
    QPushButton *m_fritzBoxSetup;
    QPointer<FritzBoxDialog> m_fritzBoxDialog;
    BoxPasswords *m_passwords = nullptr;
    QString m_fritzBoxDirectory;
    QButtonGroup *m_deviceGroup;
    QList<std::pair<DialSetting, QWidget *>> m_settingControls;
    QGroupBox *m_modemFrame;
    QGroupBox *m_prefixFrame;
    QGroupBox *m_providerFrame;
    QComboBox *m_port;
    QPushButton *m_device;
    QComboBox *m_method;
    QLineEdit *m_outsideLine;
    QLineEdit *m_international;
    QLineEdit *m_country;
    QLineEdit *m_area;
    QSlider *m_fontSlider;
    QFrame *m_sampleFrame;
    QLabel *m_sample;
    QLineEdit *m_extraCommands;
    QPushButton *m_debug;
    QGroupBox *m_handoverFrame;
    QCheckBox *m_handover;
    QLineEdit *m_handoverNumber;
    std::array<QLineEdit *, kCardCount> m_cardNames = {};
    QCheckBox *m_providerSwitch;
    QWidget *m_providerArea;
};

} // namespace quirlanto
