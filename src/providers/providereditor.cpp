#include "providers/providereditor.h"

#include "providers/hourrangeslider.h"
#include "support/textlimits.h"

#include "support/messagebox.h"
#include "support/storedformhint.h"
#include "support/textfields.h"
#include "support/windows1252.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace quirlanto {

namespace {

// What the day options stand for, in their order.
constexpr std::array kDayClasses = {DayClass::Weekdays, DayClass::Weekend, DayClass::Always};

// "Netz- nummer:" breaks after the hyphen, like the narrow labels of the options page;
// on one line it would read as a misspelling.
QLabel *fieldLabel(const QString &text, QWidget *buddy, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setBuddy(buddy);
    const qsizetype gap = text.indexOf(QLatin1String("- "));
    if (gap >= 0) {
        label->setWordWrap(true);
        const QFontMetrics fm(label->font());
        label->setFixedWidth(std::max(fm.horizontalAdvance(text.left(gap + 1)), fm.horizontalAdvance(text.mid(gap + 2)))
                             + 4);
        // The form would give the label only the height of its box and cut the second line.
        label->setMinimumHeight(label->heightForWidth(label->width()));
    }
    return label;
}

} // namespace

ProviderEditor::ProviderEditor(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("providerEditor"));
    setWindowTitle(QStringLiteral("Anbieterliste"));

    auto *frame = new QGroupBox(QStringLiteral("Eintrag aufnehmen/bearbeiten"), this);
    auto *form = new QFormLayout(frame);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    const char *const textLabels[2] = {"Name:", "Netz- nummer:"};
    for (int i = 0; i < 2; ++i) {
        m_textBoxes[i] = new QLineEdit(frame);
        m_textBoxes[i]->setObjectName(QString::fromLatin1(i == 0 ? "providerNameBox" : "networkPrefixBox"));
        m_textBoxes[i]->installEventFilter(this);
        form->addRow(fieldLabel(QString::fromUtf8(textLabels[i]), m_textBoxes[i], frame), m_textBoxes[i]);
    }
    m_textBoxes[0]->setMinimumWidth(200);
    auto *nameHint = new StoredFormHint(
        m_textBoxes[0],
        [](const QString &text) {
            QString stored = storedForm(text.trimmed());
            quotesToApostrophes(stored);
            return stored;
        },
        frame);
    nameHint->setObjectName(QStringLiteral("providerNameHint"));
    form->insertRow(1, QString(), nameHint);
    // Longer would read as damage next time.
    m_textBoxes[0]->setMaxLength(int(kMaxNameLength));
    m_textBoxes[1]->setMaxLength(int(kMaxNumberLength));

    auto *days = new QHBoxLayout;
    auto *dayGroup = new QButtonGroup(this);
    const char *const dayTexts[3] = {"Mo - Fr", "Sa - So", "immer"};
    const char *const dayNames[3] = {"weekdaysOption", "weekendOption", "alwaysOption"};
    for (int i = 0; i < 3; ++i) {
        m_dayOptions[i] = new QRadioButton(QString::fromUtf8(dayTexts[i]), frame);
        m_dayOptions[i]->setObjectName(QString::fromLatin1(dayNames[i]));
        dayGroup->addButton(m_dayOptions[i]);
        days->addWidget(m_dayOptions[i]);
    }
    days->addStretch();
    form->addRow(QStringLiteral("Zeitraum: (Tage)"), days);

    auto *hours = new QHBoxLayout;
    m_slider = new HourRangeSlider(frame);
    m_slider->setObjectName(QStringLiteral("hourRangeSlider"));
    m_slider->setMinimumWidth(m_slider->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
    m_slider->setToolTip(QStringLiteral("Zuerst Startzeit einstellen, dann gleichzeitig [Strg] gedrückt halten ..."));
    m_rangeLabel = new QLabel(QStringLiteral("..."), frame);
    m_rangeLabel->setObjectName(QStringLiteral("hourRangeLabel"));
    // Room for the widest range text, so the slider does not jump while dragging.
    m_rangeLabel->setMinimumWidth(m_rangeLabel->fontMetrics().horizontalAdvance(QStringLiteral("00h - 24h")) + 4);
    hours->addWidget(m_slider, 1);
    hours->addWidget(m_rangeLabel);
    form->addRow(QStringLiteral("Zeitraum: (Stunden)"), hours);
    connect(m_slider, &QSlider::valueChanged, this, &ProviderEditor::sliderScrolled);

    auto *distances = new QHBoxLayout;
    const char *const distanceTexts[3] = {"Nah", "Fern", "Ausland"};
    const char *const distanceNames[3] = {"localCheckBox", "longDistanceCheckBox", "abroadCheckBox"};
    for (int i = 0; i < 3; ++i) {
        m_distanceBoxes[i] = new QCheckBox(QString::fromUtf8(distanceTexts[i]), frame);
        m_distanceBoxes[i]->setObjectName(QString::fromLatin1(distanceNames[i]));
        distances->addWidget(m_distanceBoxes[i]);
    }
    distances->addStretch();
    form->addRow(QStringLiteral("Typ des Anrufs:"), distances);

    m_dialogButtons[0] = new QPushButton(QStringLiteral("&OK"), this);
    m_dialogButtons[1] = new QPushButton(QStringLiteral("&Abbrechen"), this);
    m_dialogButtons[0]->setObjectName(QStringLiteral("okButton"));
    m_dialogButtons[1]->setObjectName(QStringLiteral("cancelButton"));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_dialogButtons[0], QDialogButtonBox::AcceptRole);
    buttons->addButton(m_dialogButtons[1], QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);

    setValues({});
    m_rangeLabel->setText(QStringLiteral("..."));
    fixDialogFrame(this);
}

void ProviderEditor::setValues(const ProviderEditorValues &values)
{
    m_settingValues = true;
    m_startHour = values.startHour;
    m_endHour = values.endHour;
    m_textBoxes[0]->setText(values.name);
    m_textBoxes[1]->setText(values.networkPrefix);
    const DayClass day = values.dayClass == DayClass::None ? DayClass::Weekdays : values.dayClass;
    for (size_t i = 0; i < m_dayOptions.size(); ++i)
        m_dayOptions[i]->setChecked(kDayClasses[i] == day);
    m_distanceBoxes[0]->setChecked(values.local);
    m_distanceBoxes[1]->setChecked(values.longDistance);
    m_distanceBoxes[2]->setChecked(values.abroad);
    m_slider->setValue(m_endHour);
    showRange();
    m_textBoxes[0]->setFocus();
    m_settingValues = false;
}

ProviderEditorValues ProviderEditor::values() const
{
    ProviderEditorValues v;
    v.name = storedForm(m_textBoxes[0]->text());
    v.networkPrefix = storedForm(m_textBoxes[1]->text());
    for (size_t i = 0; i < m_dayOptions.size(); ++i) {
        if (m_dayOptions[i]->isChecked())
            v.dayClass = kDayClasses[i];
    }
    v.startHour = m_startHour;
    v.endHour = m_endHour;
    v.local = m_distanceBoxes[0]->isChecked();
    v.longDistance = m_distanceBoxes[1]->isChecked();
    v.abroad = m_distanceBoxes[2]->isChecked();
    return v;
}

QString ProviderEditor::rangeText(qint16 startHour, qint16 endHour)
{
    auto twoDigits = [](qint16 hour) { return QString::number(int(hour) + 100).right(2); };
    return twoDigits(startHour) + QStringLiteral("h - ") + twoDigits(endHour) + QLatin1Char('h');
}

void ProviderEditor::sliderScrolled(int value)
{
    if (m_settingValues)
        return;
    const auto v = qint16(value);
    if (m_slider->modifierAtLastPress()) {
        m_endHour = v;
        if (m_endHour < m_startHour)
            m_startHour = v;
    } else {
        m_startHour = v;
        m_endHour = v;
    }
    showRange();
}

void ProviderEditor::showRange()
{
    m_slider->setSelection(m_startHour, m_endHour - m_startHour);
    m_rangeLabel->setText(rangeText(m_startHour, m_endHour));
}

bool ProviderEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_textBoxes[0]) {
                m_textBoxes[1]->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == m_textBoxes[1]) {
                m_dialogButtons[0]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quirlanto
