#pragma once

#include "providers/providerentry.h"

#include <QDialog>
#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace quirlanto {

class HourRangeSlider;

// What the editor is opened with and what it hands back. Texts come back untrimmed:
// the emptiness test is made before blanks are removed.
struct ProviderEditorValues {
    QString name;
    QString networkPrefix;
    DayClass dayClass = DayClass::Weekdays; // None opens as Weekdays
    qint16 startHour = 9;
    qint16 endHour = 18;
    bool local = false;
    bool longDistance = true;
    bool abroad = false;

    bool operator==(const ProviderEditorValues &) const = default;
};

// The modal dialog "Anbieterliste". It only collects a row; the list's
// controller changes the table and saves.
class ProviderEditor : public QDialog {
    Q_OBJECT
public:
    explicit ProviderEditor(QWidget *parent = nullptr);

    void setValues(const ProviderEditorValues &values);
    ProviderEditorValues values() const;

    // "09h - 18h"
    static QString rangeText(qint16 startHour, qint16 endHour);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void sliderScrolled(int value);
    void showRange();

    std::array<QLineEdit *, 2> m_textBoxes = {};
    std::array<QRadioButton *, 3> m_dayOptions = {};
    HourRangeSlider *m_slider = nullptr;
    QLabel *m_rangeLabel = nullptr;
    std::array<QCheckBox *, 3> m_distanceBoxes = {};
    std::array<QPushButton *, 2> m_dialogButtons = {};

    qint16 m_startHour = 0;
    qint16 m_endHour = 0;
    bool m_settingValues = false;
};

} // namespace quirlanto
