#include "providers/providereditor.h"

#include "providers/hourrangeslider.h"
#include "support/textlimits.h"

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
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Anbieterliste"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *frame = new QGroupBox(QStringLiteral("Eintrag aufnehmen/bearbeiten"), this);
    auto *form = new QFormLayout(frame);
    form->setLabelAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    const char *const textLabels[2] = {"Name:", "Netz- nummer:"};
    for (int i = 0; i < 2; ++i) {
        m_text[i] = new QLineEdit(frame);
        m_text[i]->setObjectName(QStringLiteral("Text1%1").arg(i));
        m_text[i]->installEventFilter(this);
        form->addRow(fieldLabel(QString::fromUtf8(textLabels[i]), m_text[i], frame), m_text[i]);
    }
    m_text[0]->setMinimumWidth(200);
    // Longer would read as damage next time.
    m_text[0]->setMaxLength(int(kMaxNameLength));
    m_text[1]->setMaxLength(int(kMaxNumberLength));

    auto *days = new QHBoxLayout;
    auto *dayGroup = new QButtonGroup(this);
    const char *const dayTexts[3] = {"Mo - Fr", "Sa - So", "immer"};
    for (int i = 0; i < 3; ++i) {
        m_optTage[i] = new QRadioButton(QString::fromUtf8(dayTexts[i]), frame);
        m_optTage[i]->setObjectName(QStringLiteral("OptTage%1").arg(i + 1));
        dayGroup->addButton(m_optTage[i], i + 1);
        days->addWidget(m_optTage[i]);
    }
    days->addStretch();
    form->addRow(QStringLiteral("Zeitraum: (Tage)"), days);

    auto *hours = new QHBoxLayout;
    m_slider = new HourRangeSlider(frame);
    m_slider->setObjectName(QStringLiteral("TimeSlider"));
    m_slider->setMinimumWidth(m_slider->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 36);
    m_slider->setToolTip(QStringLiteral("Zuerst Startzeit einstellen, dann gleichzeitig [Strg] gedrückt halten ..."));
    m_timeLbl = new QLabel(QStringLiteral("..."), frame);
    m_timeLbl->setObjectName(QStringLiteral("TimeLbl"));
    // Room for the widest range text, so the slider does not jump while dragging.
    m_timeLbl->setMinimumWidth(m_timeLbl->fontMetrics().horizontalAdvance(QStringLiteral("00h - 24h")) + 4);
    hours->addWidget(m_slider, 1);
    hours->addWidget(m_timeLbl);
    form->addRow(QStringLiteral("Zeitraum: (Stunden)"), hours);
    connect(m_slider, &QSlider::valueChanged, this, &ProviderEditor::sliderScrolled);

    auto *distances = new QHBoxLayout;
    const char *const distanceTexts[3] = {"Nah", "Fern", "Ausland"};
    for (int i = 0; i < 3; ++i) {
        m_chkWeite[i] = new QCheckBox(QString::fromUtf8(distanceTexts[i]), frame);
        m_chkWeite[i]->setObjectName(QStringLiteral("ChkWeite%1").arg(i + 1));
        distances->addWidget(m_chkWeite[i]);
    }
    distances->addStretch();
    form->addRow(QStringLiteral("Typ des Anrufs:"), distances);

    m_command[0] = new QPushButton(QStringLiteral("&OK"), this);
    m_command[1] = new QPushButton(QStringLiteral("&Abbrechen"), this);
    for (int i = 0; i < 2; ++i)
        m_command[i]->setObjectName(QStringLiteral("Command1%1").arg(i));
    auto *buttons = new QDialogButtonBox(this);
    buttons->addButton(m_command[0], QDialogButtonBox::AcceptRole);
    buttons->addButton(m_command[1], QDialogButtonBox::RejectRole);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(buttons);

    setValues({});
    m_timeLbl->setText(QStringLiteral("..."));
}

void ProviderEditor::setValues(const ProviderEditorValues &values)
{
    m_settingValues = true;
    m_startHour = values.startHour;
    m_endHour = values.endHour;
    m_text[0]->setText(values.name);
    m_text[1]->setText(values.networkPrefix);
    const int code = (values.dayClassCode >= 1 && values.dayClassCode <= 3) ? values.dayClassCode : 1;
    m_optTage[code - 1]->setChecked(true);
    m_chkWeite[0]->setChecked(values.local);
    m_chkWeite[1]->setChecked(values.longDistance);
    m_chkWeite[2]->setChecked(values.abroad);
    m_slider->setValue(m_endHour);
    showRange();
    m_text[0]->setFocus();
    m_settingValues = false;
}

ProviderEditorValues ProviderEditor::values() const
{
    ProviderEditorValues v;
    v.name = m_text[0]->text();
    v.networkPrefix = m_text[1]->text();
    v.dayClassCode = 1;
    for (int i = 0; i < 3; ++i) {
        if (m_optTage[i]->isChecked())
            v.dayClassCode = qint16(i + 1);
    }
    v.startHour = m_startHour;
    v.endHour = m_endHour;
    v.local = m_chkWeite[0]->isChecked();
    v.longDistance = m_chkWeite[1]->isChecked();
    v.abroad = m_chkWeite[2]->isChecked();
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
    m_timeLbl->setText(rangeText(m_startHour, m_endHour));
}

bool ProviderEditor::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_text[0]) {
                m_text[1]->setFocus(Qt::TabFocusReason);
                return true;
            }
            if (watched == m_text[1]) {
                m_command[0]->setFocus(Qt::TabFocusReason);
                return true;
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace quirlanto
