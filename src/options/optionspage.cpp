#include "options/optionspage.h"

#include "dial/modemlink.h"
#include "dial/phoneprogram.h"
#include "dial/portdevicedialog.h"
#include "fritzbox/fritzboxdialog.h"
#include "numbers/writtennumber.h"
#include "providers/providerlistcontroller.h"
#include "register/registerdocument.h"
#include "support/messagebox.h"
#include "support/storedformhint.h"
#include "support/textlimits.h"
#include "support/windows1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace quirlanto {

namespace {

QLabel *label(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = new QLabel(text, parent);
    l->setBuddy(buddy);
    return l;
}

// Labels such as "Aus- land" break after the hyphen, as the narrow labels of the page always did.
QLabel *hyphenLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *l = label(text, buddy, parent);
    l->setWordWrap(true);
    // A screen reader would read the break as a pause: "Ausland", not "Aus- land".
    if (!qobject_cast<QAbstractButton *>(buddy))
        buddy->setAccessibleName(QString(text).remove(QLatin1String("- ")));
    const int firstPart = text.indexOf(QLatin1Char(' '));
    const QFontMetrics fm(l->font());
    l->setFixedWidth(std::max(fm.horizontalAdvance(text.left(firstPart)), fm.horizontalAdvance(text.mid(firstPart + 1)))
                     + 4);
    return l;
}

QLineEdit *lineEdit(const char *objectName, QWidget *parent)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(objectName));
    e->setMaxLength(int(kMaxNumberLength)); // longer would read as damage next time
    return e;
}

} // namespace

OptionsPage::OptionsPage(RegisterDocument &book, SettingsStore &ports, QWidget *parent)
    : QWidget(parent)
    , m_book(book)
    , m_ports(ports)
{
    setObjectName(QStringLiteral("optionsPage"));

    // "Anwahl ausführen über ..."
    auto *deviceFrame = new QGroupBox(QStringLiteral("Anwahl ausführen über ..."), this);
    deviceFrame->setObjectName(QStringLiteral("dialDeviceFrame"));
    m_modem = new QRadioButton(QStringLiteral("&Modem"), deviceFrame);
    m_modem->setObjectName(QStringLiteral("modemOption"));
    m_speaker = new QRadioButton(QStringLiteral("&Lautsprecher"), deviceFrame);
    m_speaker->setObjectName(QStringLiteral("loudspeakerOption"));
    m_phoneProgram = new QRadioButton(QStringLiteral("Telefon-&Programm"), deviceFrame);
    m_phoneProgram->setObjectName(QStringLiteral("phoneProgramOption"));
    m_phoneProgram->setToolTip(QStringLiteral("Die Nummer an das gewählte Telefon-Programm übergeben"));
    m_phoneProgramList = new QComboBox(deviceFrame);
    m_phoneProgramList->setObjectName(QStringLiteral("phoneProgramList"));
    m_phoneProgramList->setPlaceholderText(QStringLiteral("Bitte wählen …"));
    m_phoneProgramList->setAccessibleName(QStringLiteral("Gewähltes Telefon-Programm"));
    m_phoneProgramList->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_phoneProgramList->setMinimumContentsLength(12);
    connect(m_phoneProgramList, &QComboBox::activated, this,
            [this](int index) { m_book.setPhoneProgram(m_phoneProgramList->itemData(index).toString()); });
    m_fritzBox = new QRadioButton(QStringLiteral("FRITZ!&Box"), deviceFrame);
    m_fritzBox->setObjectName(QStringLiteral("fritzBoxOption"));
    m_fritzBox->setToolTip(QStringLiteral("Die FRITZ!Box wählen lassen: erst klingelt das Telefon, nach dem Abheben "
                                          "wählt die Box"));
    m_fritzBoxSetup = new QPushButton(QStringLiteral("Ei&nrichten …"), deviceFrame);
    m_fritzBoxSetup->setObjectName(QStringLiteral("fritzBoxSetupButton"));
    m_fritzBoxSetup->setToolTip(QStringLiteral("Adresse, Benutzer, Kennwort und klingelndes Telefon der FRITZ!Box"));
    m_fritzBoxSetup->setAccessibleName(QStringLiteral("FRITZ!Box einrichten"));
    connect(m_fritzBoxSetup, &QPushButton::clicked, this, &OptionsPage::setUpFritzBox);
    m_deviceGroup = new QButtonGroup(this);
    m_deviceGroup->addButton(m_modem, int(DialDevice::Modem));
    m_deviceGroup->addButton(m_speaker, int(DialDevice::Loudspeaker));
    m_deviceGroup->addButton(m_phoneProgram, int(DialDevice::PhoneProgram));
    m_deviceGroup->addButton(m_fritzBox, int(DialDevice::FritzBox));
    m_modem->setChecked(true);
    auto *deviceLayout = new QGridLayout(deviceFrame);
    deviceLayout->addWidget(m_modem, 0, 0);
    deviceLayout->addWidget(m_speaker, 1, 0);
    deviceLayout->addWidget(m_phoneProgram, 2, 0);
    deviceLayout->addWidget(m_phoneProgramList, 2, 1);
    deviceLayout->addWidget(m_fritzBox, 3, 0);
    deviceLayout->addWidget(m_fritzBoxSetup, 3, 1, Qt::AlignLeft);
    deviceLayout->setColumnStretch(1, 1);
    connect(m_deviceGroup, &QButtonGroup::idClicked, this, [this](int id) {
        // Choosing the device with nothing chosen takes the program the list shows first.
        if (DialDevice(id) == DialDevice::PhoneProgram && m_book.phoneProgram().isEmpty()
            && m_phoneProgramList->count() > 0) {
            m_phoneProgramList->setCurrentIndex(0);
            m_book.setPhoneProgram(m_phoneProgramList->itemData(0).toString());
        }
        MessageBoxes::reportWrite(this, m_book.setDialDevice(DialDevice(id)));
        // Without a phone the router cannot dial: set it up at once.
        if (DialDevice(id) == DialDevice::FritzBox && m_book.fritzBox().phone.isEmpty())
            setUpFritzBox();
    });
    connect(m_deviceGroup, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            applyDialDevice();
    });
    // A reloaded register brings its device; the phone program's choice is kept elsewhere.
    connect(&m_book, &RegisterDocument::registerReset, this, [this] { setDialDevice(m_book.dialDevice()); });

    // "Modemeinstellungen"
    auto *modemFrame = new QGroupBox(QStringLiteral("Modemeinstellungen"), this);
    modemFrame->setObjectName(QStringLiteral("modemFrame"));
    m_modemFrame = modemFrame;
    m_port = new QComboBox(modemFrame);
    m_port->setObjectName(QStringLiteral("portList"));
    for (int i = kMinComPort; i <= kMaxComPort; ++i)
        m_port->addItem(QStringLiteral("COM") + QString::number(i));
    m_method = new QComboBox(modemFrame);
    m_method->setObjectName(QStringLiteral("dialMethodList"));
    m_method->addItem(QStringLiteral("Ton"));
    m_method->addItem(QStringLiteral("Puls"));
    m_extraCommands = lineEdit("extraCommandsBox", modemFrame);
    m_extraCommands->setToolTip(QStringLiteral("Befehle, die dem Modem nach \"AT\" vor dem Wählen geschickt werden"));
    m_debug = new QPushButton(QStringLiteral("Debug"), modemFrame);
    m_debug->setObjectName(QStringLiteral("showModemAnswerButton"));
    m_debug->setToolTip(QStringLiteral("Zeigt die letzte Antwort des Modems"));
    connect(m_debug, &QPushButton::clicked, this, &OptionsPage::showModemAnswerClicked);
    m_device = new QPushButton(QStringLiteral("&Gerät …"), modemFrame);
    m_device->setObjectName(QStringLiteral("portDeviceButton"));
    m_device->setToolTip(QStringLiteral("Ordnet dem gewählten Anschluß eines der seriellen Geräte zu"));
    connect(m_device, &QPushButton::clicked, this, &OptionsPage::choosePortDevice);
    auto *atLabel = new QLabel(QStringLiteral("AT"), modemFrame);
    auto *modemLayout = new QGridLayout(modemFrame);
    auto *portLabel = label(QStringLiteral("Anschluß"), m_port, modemFrame);
    // A combo box is read by its current item, not by its label.
    m_port->setAccessibleName(portLabel->text());
    modemLayout->addWidget(portLabel, 0, 0);
    auto *portRow = new QHBoxLayout;
    portRow->addWidget(m_port, 1);
    portRow->addWidget(m_device);
    modemLayout->addLayout(portRow, 0, 1, 1, 2);
    auto *methodLabel = label(QStringLiteral("Wahlart"), m_method, modemFrame);
    m_method->setAccessibleName(methodLabel->text());
    modemLayout->addWidget(methodLabel, 1, 0);
    modemLayout->addWidget(m_method, 1, 1, 1, 2);
    auto *extraLabel = hyphenLabel(QStringLiteral("Zusatz- befehle"), m_extraCommands, modemFrame);
    modemLayout->addWidget(extraLabel, 2, 0);
    modemLayout->addWidget(atLabel, 2, 1);
    modemLayout->addWidget(m_extraCommands, 2, 2);
    auto *answerLabel = hyphenLabel(QStringLiteral("Modem- antwort"), m_debug, modemFrame);
    modemLayout->addWidget(answerLabel, 3, 0);
    modemLayout->addWidget(m_debug, 3, 1, 1, 2);
    addSettingControls(DialSetting::Port, {portLabel, m_port, m_device});
    addSettingControls(DialSetting::DialMethod, {methodLabel, m_method});
    addSettingControls(DialSetting::ExtraModemCommands, {extraLabel, atLabel, m_extraCommands});
    addSettingControls(DialSetting::ModemAnswer, {answerLabel, m_debug});
    addSettingControls(DialSetting::FritzBox, {m_fritzBoxSetup});
    modemLayout->setColumnStretch(2, 1);

    // The handover frame
    m_handoverFrame = new QGroupBox(this);
    m_handoverFrame->setObjectName(QStringLiteral("handoverFrame"));
    m_handover = new QCheckBox(QStringLiteral("&Übergabe"), m_handoverFrame);
    m_handover->setObjectName(QStringLiteral("handoverCheckBox"));
    m_handover->setToolTip(QStringLiteral("Nach der Anwahl den Anruf an eine andere Nummer übergeben"));
    m_handoverNumber = lineEdit("handoverNumberBox", m_handoverFrame);
    m_handoverNumber->setAccessibleName(QStringLiteral("Übergabe an"));
    auto *handoverLayout = new QGridLayout(m_handoverFrame);
    handoverLayout->addWidget(m_handover, 0, 0, 1, 2);
    handoverLayout->addWidget(label(QStringLiteral("an"), m_handoverNumber, m_handoverFrame), 1, 0);
    handoverLayout->addWidget(m_handoverNumber, 1, 1);
    connect(m_handover, &QCheckBox::toggled, this, &OptionsPage::updateHandoverEnabling);
    connect(m_method, &QComboBox::currentIndexChanged, this, &OptionsPage::updateHandoverEnabling);

    // "Präfixzahlen"
    auto *prefixFrame = new QGroupBox(QStringLiteral("Präfixzahlen"), this);
    prefixFrame->setObjectName(QStringLiteral("prefixFrame"));
    m_prefixFrame = prefixFrame;
    m_outsideLine = lineEdit("outsideLineBox", prefixFrame);
    m_outsideLine->setToolTip(QStringLiteral("Ziffern für die Amtsholung, z. B. 0 an einer Telefonanlage"));
    m_international = lineEdit("internationalPrefixBox", prefixFrame);
    m_international->setToolTip(QStringLiteral("Vorwahl für Auslandsgespräche, meist 00"));
    auto *prefixLayout = new QGridLayout(prefixFrame);
    auto *outsideLineLabel = label(QStringLiteral("Amt"), m_outsideLine, prefixFrame);
    prefixLayout->addWidget(outsideLineLabel, 0, 0);
    prefixLayout->addWidget(m_outsideLine, 0, 1);
    auto *internationalLabel = hyphenLabel(QStringLiteral("Aus- land"), m_international, prefixFrame);
    prefixLayout->addWidget(internationalLabel, 1, 0);
    prefixLayout->addWidget(m_international, 1, 1);
    addSettingControls(DialSetting::OutsideLinePrefix, {outsideLineLabel, m_outsideLine});
    addSettingControls(DialSetting::InternationalPrefix, {internationalLabel, m_international});

    // "Kennzahlen"
    auto *codeFrame = new QGroupBox(QStringLiteral("Kennzahlen"), this);
    codeFrame->setObjectName(QStringLiteral("codeFrame"));
    m_country = lineEdit("countryCodeBox", codeFrame);
    m_country->setToolTip(QStringLiteral("Eigene Landeskennzahl ohne Nullen, z. B. 49"));
    m_area = lineEdit("areaCodeBox", codeFrame);
    m_area->setToolTip(QStringLiteral("Eigene Ortskennzahl ohne die führende Null, z. B. 89"));
    auto *codeLayout = new QGridLayout(codeFrame);
    codeLayout->addWidget(label(QStringLiteral("Land"), m_country, codeFrame), 0, 0);
    codeLayout->addWidget(m_country, 0, 1);
    codeLayout->addWidget(label(QStringLiteral("Ort"), m_area, codeFrame), 1, 0);
    codeLayout->addWidget(m_area, 1, 1);
    addSettingControls(DialSetting::OwnCodes, {codeFrame});

    // "Eintragsgröße"
    auto *sizeFrame = new QGroupBox(QStringLiteral("Eintragsgröße"), this);
    sizeFrame->setObjectName(QStringLiteral("fontSizeFrame"));
    m_fontSlider = new QSlider(Qt::Vertical, sizeFrame);
    m_fontSlider->setObjectName(QStringLiteral("fontSizeSlider"));
    m_fontSlider->setRange(kMinEntryFontSize, kMaxEntryFontSize);
    m_fontSlider->setInvertedAppearance(true);
    m_fontSlider->setInvertedControls(true);
    m_fontSlider->setPageStep(2);
    m_fontSlider->setTickPosition(QSlider::TicksRight);
    m_fontSlider->setTickInterval(2);
    m_fontSlider->setToolTip(QStringLiteral("Schriftgröße der Namenslisten"));
    m_sampleFrame = new QFrame(sizeFrame);
    m_sampleFrame->setObjectName(QStringLiteral("fontSampleFrame"));
    m_sampleFrame->setFrameShape(QFrame::StyledPanel);
    m_sampleFrame->setFixedSize(64, 64);
    m_sample = new QLabel(QStringLiteral("Aa"), m_sampleFrame);
    m_sample->setObjectName(QStringLiteral("fontSample"));
    auto *plus = new QLabel(QStringLiteral("+"), sizeFrame);
    auto *minus = new QLabel(QStringLiteral("-"), sizeFrame);
    auto *sliderColumn = new QVBoxLayout;
    sliderColumn->addWidget(plus, 0, Qt::AlignHCenter);
    sliderColumn->addWidget(m_fontSlider, 1, Qt::AlignHCenter);
    sliderColumn->addWidget(minus, 0, Qt::AlignHCenter);
    auto *sizeLayout = new QHBoxLayout(sizeFrame);
    sizeLayout->addLayout(sliderColumn);
    sizeLayout->addWidget(m_sampleFrame, 0, Qt::AlignVCenter);

    // "Kartennamen"
    auto *cardFrame = new QGroupBox(QStringLiteral("Kartennamen"), this);
    cardFrame->setObjectName(QStringLiteral("cardNameFrame"));
    auto *cardLayout = new QVBoxLayout(cardFrame);
    for (int i = 0; i < kCardCount; ++i) {
        m_cardNames[i] = new QLineEdit(cardFrame);
        m_cardNames[i]->setMaxLength(int(kMaxNameLength));
        m_cardNames[i]->setObjectName(QStringLiteral("cardNameBox%1").arg(i));
        m_cardNames[i]->setToolTip(QStringLiteral("Beschriftung der Karte %1").arg(i + 1));
        m_cardNames[i]->setAccessibleName(QStringLiteral("Kartenname %1").arg(i + 1));
        cardLayout->addWidget(m_cardNames[i]);
        auto *hint = new StoredFormHint(
            m_cardNames[i], [](const QString &text) { return storedForm(text); }, cardFrame);
        hint->setObjectName(QStringLiteral("cardNameHint%1").arg(i));
        hint->setWordWrap(true);
        cardLayout->addWidget(hint);
    }
    cardLayout->addStretch();

    // The provider frame, titled by its switch; the provider list fills the area below it.
    auto *providerFrame = new QGroupBox(this);
    providerFrame->setObjectName(QStringLiteral("providerFrame"));
    m_providerFrame = providerFrame;
    m_providerSwitch = new QCheckBox(QStringLiteral("&Call-by-Call Provider-Liste"), providerFrame);
    m_providerSwitch->setObjectName(QStringLiteral("providerSwitch"));
    m_providerArea = new QWidget(providerFrame);
    m_providerArea->setObjectName(QStringLiteral("providerListArea"));
    auto *areaLayout = new QVBoxLayout(m_providerArea);
    areaLayout->setContentsMargins(0, 0, 0, 0);
    auto *providerLayout = new QVBoxLayout(providerFrame);
    providerLayout->addWidget(m_providerSwitch);
    providerLayout->addWidget(m_providerArea, 1);

    auto *leftColumn = new QVBoxLayout;
    leftColumn->addWidget(deviceFrame);
    leftColumn->addWidget(modemFrame);
    leftColumn->addStretch();
    auto *middleColumn = new QVBoxLayout;
    middleColumn->addWidget(prefixFrame);
    middleColumn->addWidget(codeFrame);
    middleColumn->addWidget(m_handoverFrame);
    middleColumn->addStretch();

    auto *top = new QHBoxLayout;
    top->addLayout(leftColumn, 3);
    top->addLayout(middleColumn, 2);
    top->addWidget(cardFrame, 2);
    top->addWidget(sizeFrame);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(providerFrame, 1);

    // Keyboard order follows the page from left to right.
    QWidget *order[] = {m_modem,         m_speaker,        m_phoneProgram,  m_phoneProgramList, m_fritzBox,
                        m_fritzBoxSetup, m_port,           m_device,        m_method,           m_extraCommands,
                        m_debug,         m_outsideLine,    m_international, m_country,          m_area,
                        m_handover,      m_handoverNumber, m_cardNames[0],  m_cardNames[1],     m_cardNames[2],
                        m_cardNames[3],  m_fontSlider,     m_providerSwitch};
    for (size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    updateHandoverEnabling();
    // Connected only now, so the sample is laid out once at start.
    m_fontSlider->setValue(sliderValueForSize(12));
    connect(m_fontSlider, &QSlider::valueChanged, this, &OptionsPage::updateFontSample);
    updateFontSample();

    new ProviderListController(m_book, m_providerSwitch, m_providerArea, this);
    showPortDevicesAsToolTips(m_port, m_ports);
    setDialDevice(m_book.dialDevice());
    applyDialDevice();
}

int OptionsPage::sliderValueForSize(double size)
{
    const double value = std::nearbyint(kMaxEntryFontSize - size + kMinEntryFontSize);
    return int(std::clamp(value, double(kMinEntryFontSize), double(kMaxEntryFontSize)));
}

void OptionsPage::loadOptionControls(const Settings &settings, const CardNames &cardNames, const QFont &listFont)
{
    m_outsideLine->setText(settings.outsideLinePrefix);
    m_international->setText(settings.internationalPrefix);
    m_country->setText(settings.ownCountryCode);
    m_area->setText(settings.ownAreaCode);
    m_port->setCurrentIndex(std::clamp(settings.comPort, kMinComPort, kMaxComPort) - kMinComPort);
    m_method->setCurrentIndex(settings.dialMethod == DialMethod::Pulse ? 1 : 0);
    m_handover->setChecked(settings.handoverEnabled);
    for (int i = 0; i < kCardCount; ++i)
        m_cardNames[i]->setText(cardNames[i]);
    m_extraCommands->setText(settings.extraModemCommands);
    m_handoverNumber->setText(settings.handoverNumber);
    QFont sampleFont = m_sample->font();
    sampleFont.setFamilies(listFont.families());
    m_sample->setFont(sampleFont);
    const int sliderValue = sliderValueForSize(listFont.pointSizeF());
    const bool sliderMoves = sliderValue != m_fontSlider->value();
    m_fontSlider->setValue(sliderValue); // a move updates the sample itself
    updateHandoverEnabling();
    if (!sliderMoves)
        updateFontSample();
}

OptionValues OptionsPage::saveOptionControls(const Settings &base) const
{
    OptionValues values;
    Settings &s = values.settings;
    s = base;
    s.outsideLinePrefix = m_outsideLine->text().trimmed();
    s.internationalPrefix = m_international->text().trimmed();
    s.ownCountryCode = ownCode(m_country->text());
    s.ownAreaCode = ownCode(m_area->text());
    s.extraModemCommands = m_extraCommands->text();
    s.handoverNumber = m_handoverNumber->text();
    s.handoverEnabled = m_handover->isChecked();
    s.comPort = m_port->currentIndex() + 1;
    s.dialMethod = m_method->currentIndex() == 1 ? DialMethod::Pulse : DialMethod::Tone;
    for (int i = 0; i < kCardCount; ++i)
        values.cardNames[i] = storedForm(m_cardNames[i]->text());
    s.entryFontSize = sampleFontSize();
    return values;
}

QWidget *OptionsPage::lastInFocusChain() const
{
    QWidget *last = nullptr;
    for (QWidget *w = nextInFocusChain(); isAncestorOf(w); w = w->nextInFocusChain()) {
        if (w->focusPolicy() != Qt::NoFocus)
            last = w;
    }
    return last;
}

int OptionsPage::sampleFontSize() const
{
    return sizeForSliderValue(m_fontSlider->value());
}

void OptionsPage::updateFontSample()
{
    QFont font = m_sample->font();
    font.setPointSize(sampleFontSize());
    m_sample->setFont(font);
    m_sample->adjustSize();
    m_sample->move((m_sampleFrame->width() - m_sample->width()) / 2,
                   (m_sampleFrame->height() - m_sample->height()) / 2);
}

void OptionsPage::setDialDevice(DialDevice device)
{
    if (QAbstractButton *option = m_deviceGroup->button(int(device)))
        option->setChecked(true);
    else
        m_modem->setChecked(true);
}

void OptionsPage::load(const QFont &listFont)
{
    showPhonePrograms();
    loadOptionControls(m_book.settings(), m_book.cardNames(), listFont);
}

void OptionsPage::save()
{
    const OptionValues values = saveOptionControls(m_book.settings());
    MessageBoxes::reportWrite(this, m_book.setOptions(values.settings, values.cardNames));
}

void OptionsPage::choosePortDevice()
{
    PortDeviceDialog *dialog =
        new PortDeviceDialog(m_port->currentIndex() + 1, systemSerialDevices(), m_ports, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this] { setPortToolTips(m_port, m_ports); });
    dialog->open();
}

void OptionsPage::setBoxPasswords(BoxPasswords *passwords, const QString &programDirectory)
{
    m_passwords = passwords;
    m_fritzBoxDirectory = programDirectory;
}

FritzBoxDialog *OptionsPage::setUpFritzBox()
{
    if (m_fritzBoxDialog && m_fritzBoxDialog->isVisible()) {
        m_fritzBoxDialog->raise();
        m_fritzBoxDialog->activateWindow();
        return m_fritzBoxDialog;
    }
    const FritzBoxSettings box = m_book.fritzBox();
    auto *dialog = new FritzBoxDialog(box, QString(), m_fritzBoxDirectory, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_fritzBoxDialog = dialog;
    connect(dialog, &QDialog::accepted, this, [this, dialog] { storeFritzBox(dialog->values()); });
    dialog->open();
    // A router set up before has its password kept: the check needs it.
    if (m_passwords && !(box.user.isEmpty() && box.phone.isEmpty())) {
        m_passwords->find(box, false, [dialog = QPointer(dialog)](bool found, const QString &password) {
            if (dialog && found)
                dialog->offerPassword(password);
        });
    }
    return dialog;
}

void OptionsPage::storeFritzBox(const BoxAccess &access)
{
    m_book.setFritzBox(access.settings);
    if (!m_passwords || access.password.isEmpty())
        return;
    m_passwords->store(access.settings, access.password, [page = QPointer(this)](const QString &problem) {
        if (page && !problem.isEmpty())
            MessageBoxes::notify(page, MessageIcon::Information, problem);
    });
}

void OptionsPage::addSettingControls(DialSetting setting, std::initializer_list<QWidget *> controls)
{
    for (QWidget *control : controls)
        m_settingControls.append({setting, control});
}

void OptionsPage::applyDialDevice()
{
    const DialSettings used = settingsUsedBy(DialDevice(m_deviceGroup->checkedId()));
    for (const auto &[setting, control] : std::as_const(m_settingControls))
        control->setEnabled(used.testFlag(setting));
    using S = DialSetting;
    // A frame none of whose settings apply is greyed with its title.
    m_modemFrame->setEnabled(used & (S::Port | S::DialMethod | S::ExtraModemCommands | S::ModemAnswer));
    m_prefixFrame->setEnabled(used & (S::OutsideLinePrefix | S::InternationalPrefix));
    m_providerFrame->setEnabled(used.testFlag(S::Providers));
    m_phoneProgramList->setEnabled(used.testFlag(S::PhoneProgram) && m_phoneProgram->isEnabled()
                                   && m_phoneProgramList->count() > 0);
    updateHandoverEnabling();
}

void OptionsPage::showPhonePrograms()
{
    const QString chosen = m_book.phoneProgram();
    m_phoneProgramList->clear();
    for (const DesktopLauncher &program : installedPhonePrograms()) {
        m_phoneProgramList->addItem(program.name, program.id);
        m_phoneProgramList->setItemData(m_phoneProgramList->count() - 1, program.id, Qt::ToolTipRole);
    }
    const bool none = m_phoneProgramList->count() == 0;
    // A chosen program that has gone stays visible as such: the first dial will say so.
    if (!chosen.isEmpty() && m_phoneProgramList->findData(chosen) < 0)
        m_phoneProgramList->insertItem(0, QStringLiteral("%1 (nicht mehr installiert)").arg(chosen), chosen);
    m_phoneProgramList->setCurrentIndex(m_phoneProgramList->findData(chosen));
    m_phoneProgram->setEnabled(!none);
    m_phoneProgram->setToolTip(none ? QStringLiteral("Kein Telefon-Programm installiert, das tel:-Links annimmt.")
                                    : QStringLiteral("Die Nummer an das gewählte Telefon-Programm übergeben"));
    applyDialDevice();
}

void OptionsPage::updateHandoverEnabling()
{
    const bool tone = m_method->currentIndex() == 0;
    const bool used = settingsUsedBy(DialDevice(m_deviceGroup->checkedId())).testFlag(DialSetting::Handover);
    m_handoverFrame->setEnabled(tone && used);
    m_handover->setEnabled(tone);
    m_handoverNumber->setEnabled(tone && m_handover->isChecked());
}

} // namespace quirlanto
