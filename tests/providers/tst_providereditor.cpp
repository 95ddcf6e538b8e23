#include "providereditorcontrols.h"
#include "providers/hourrangeslider.h"
#include "providers/providereditor.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionSlider>
#include <QTest>

using namespace quirlanto;

namespace {

// One move of the slider: the modifier held at the press, then the value it is dragged to.
struct SliderStep {
    Qt::KeyboardModifiers modifiers;
    int value;
};

void dragTo(HourRangeSlider *slider, const SliderStep &step)
{
    // Press on the handle so the press itself does not move the slider.
    QStyleOptionSlider opt;
    opt.initFrom(slider);
    opt.orientation = slider->orientation();
    opt.minimum = slider->minimum();
    opt.maximum = slider->maximum();
    opt.sliderPosition = slider->sliderPosition();
    opt.sliderValue = slider->value();
    opt.tickPosition = slider->tickPosition();
    opt.tickInterval = slider->tickInterval();
    opt.subControls = QStyle::SC_All;
    const QRect handle = slider->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, slider);
    QTest::mousePress(slider, Qt::LeftButton, step.modifiers, handle.center());
    slider->setValue(step.value);
    QTest::mouseRelease(slider, Qt::LeftButton, step.modifiers, handle.center());
}

} // namespace

Q_DECLARE_METATYPE(QList<SliderStep>)

class TestProviderEditor : public QObject {
    Q_OBJECT

private slots:
    void rangeText_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("end");
        QTest::addColumn<QString>("text");
        QTest::newRow("office hours") << 9 << 18 << "09h - 18h";
        QTest::newRow("whole day") << 0 << 24 << "00h - 24h";
        QTest::newRow("empty range") << 20 << 20 << "20h - 20h";
        QTest::newRow("single digits") << 5 << 7 << "05h - 07h";
    }
    void rangeText()
    {
        QFETCH(int, start);
        QFETCH(int, end);
        QFETCH(QString, text);
        QCOMPARE(ProviderEditor::rangeText(qint16(start), qint16(end)), text);
    }

    void controls()
    {
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        QCOMPARE(e.windowTitle(), QStringLiteral("Anbieterliste"));
        auto *frame = e.findChild<QGroupBox *>();
        QVERIFY(frame);
        QCOMPARE(frame->title(), QStringLiteral("Eintrag aufnehmen/bearbeiten"));

        QCOMPARE(c.okButton()->text(), QStringLiteral("&OK"));
        QCOMPARE(c.cancelButton()->text(), QStringLiteral("&Abbrechen"));

        const QStringList days{"Mo - Fr", "Sa - So", "immer"};
        const QStringList distances{"Nah", "Fern", "Ausland"};
        for (int i = 1; i <= 3; ++i) {
            QCOMPARE(c.dayOption(i)->text(), days[i - 1]);
            QCOMPARE(c.distanceBox(i)->text(), distances[i - 1]);
        }

        QStringList labels;
        for (QLabel *l : e.findChildren<QLabel *>())
            labels << l->text();
        for (const char *label :
             {"Name:", "Netz- nummer:", "Zeitraum: (Tage)", "Zeitraum: (Stunden)", "Typ des Anrufs:"})
            QVERIFY2(labels.contains(QString::fromUtf8(label)), label);

        const QSlider *s = c.timeSlider();
        QCOMPARE(s->minimum(), 0);
        QCOMPARE(s->maximum(), 24);
        QCOMPARE(s->toolTip(),
                 QStringLiteral("Zuerst Startzeit einstellen, dann gleichzeitig [Strg] gedrückt halten ..."));
        QCOMPARE(c.timeLabel()->text(), QStringLiteral("..."));
    }

    void setValuesFillsControls_data()
    {
        QTest::addColumn<int>("dayCode");
        QTest::addColumn<int>("checkedOption");
        QTest::newRow("none opens as Mo - Fr") << 0 << 1;
        QTest::newRow("weekdays") << 1 << 1;
        QTest::newRow("weekend") << 2 << 2;
        QTest::newRow("always") << 3 << 3;
    }
    void setValuesFillsControls()
    {
        QFETCH(int, dayCode);
        QFETCH(int, checkedOption);
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({"Nacht", "01019", DayClass(dayCode), 6, 22, true, false, true});
        QCOMPARE(c.nameBox()->text(), QStringLiteral("Nacht"));
        QCOMPARE(c.prefixBox()->text(), QStringLiteral("01019"));
        for (int i = 1; i <= 3; ++i)
            QCOMPARE(c.dayOption(i)->isChecked(), i == checkedOption);
        QCOMPARE(c.distanceBox(1)->isChecked(), true);
        QCOMPARE(c.distanceBox(2)->isChecked(), false);
        QCOMPARE(c.distanceBox(3)->isChecked(), true);
        QCOMPARE(c.timeSlider()->value(), 22);
        QCOMPARE(c.timeSlider()->selectionStart(), 6);
        QCOMPARE(c.timeSlider()->selectionLength(), 16);
        QCOMPARE(c.timeLabel()->text(), QStringLiteral("06h - 22h"));
        // Setting the slider to the end hour is not a user move: the range stays.
        QCOMPARE(e.values().startHour, qint16(6));
        QCOMPARE(e.values().endHour, qint16(22));
        QCOMPARE(e.values().dayClass, DayClass(checkedOption));
    }

    void sliderRules_data()
    {
        QTest::addColumn<QList<SliderStep>>("steps");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("selectionStart");
        QTest::addColumn<int>("selectionLength");
        const auto none = Qt::KeyboardModifiers();
        QTest::newRow("20 without Ctrl") << QList<SliderStep>{{none, 20}} << "20h - 20h" << 20 << 0;
        QTest::newRow("then Ctrl down to 8")
            << QList<SliderStep>{{none, 20}, {Qt::ControlModifier, 8}} << "08h - 08h" << 8 << 0;
        QTest::newRow("start 20 then Ctrl to 23")
            << QList<SliderStep>{{none, 20}, {Qt::ControlModifier, 23}} << "20h - 23h" << 20 << 3;
        QTest::newRow("Shift counts as modifier")
            << QList<SliderStep>{{none, 6}, {Qt::ShiftModifier, 9}} << "06h - 09h" << 6 << 3;
        QTest::newRow("Alt counts as modifier")
            << QList<SliderStep>{{none, 6}, {Qt::AltModifier, 12}} << "06h - 12h" << 6 << 6;
        QTest::newRow("plain drag collapses a range")
            << QList<SliderStep>{{none, 6}, {Qt::ControlModifier, 12}, {none, 10}} << "10h - 10h" << 10 << 0;
        QTest::newRow("Ctrl end moves both ways")
            << QList<SliderStep>{{none, 6}, {Qt::ControlModifier, 20}, {Qt::ControlModifier, 10}} << "06h - 10h" << 6
            << 4;
        QTest::newRow("Ctrl from the opened range")
            << QList<SliderStep>{{Qt::ControlModifier, 21}} << "09h - 21h" << 9 << 12;
    }
    void sliderRules()
    {
        QFETCH(QList<SliderStep>, steps);
        QFETCH(QString, text);
        QFETCH(int, selectionStart);
        QFETCH(int, selectionLength);
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({});
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        for (const SliderStep &step : steps)
            dragTo(c.timeSlider(), step);
        QCOMPARE(c.timeLabel()->text(), text);
        QCOMPARE(c.timeSlider()->selectionStart(), selectionStart);
        QCOMPARE(c.timeSlider()->selectionLength(), selectionLength);
        const ProviderEditorValues v = e.values();
        QCOMPARE(ProviderEditor::rangeText(v.startHour, v.endHour), text);
        QVERIFY(v.startHour <= v.endHour);
    }

    void sliderByKeyboard()
    {
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({}); // 9 to 18, slider at 18
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QTest::keyClick(c.timeSlider(), Qt::Key_Left);
        QCOMPARE(c.timeLabel()->text(), QStringLiteral("17h - 17h"));
        QTest::keyClick(c.timeSlider(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(c.timeLabel()->text(), QStringLiteral("17h - 18h"));
        QTest::keyClick(c.timeSlider(), Qt::Key_PageUp, Qt::ShiftModifier);
        QCOMPARE(c.timeLabel()->text(), QStringLiteral("17h - 22h"));
    }

    void boxLabelsBreakAfterHyphen_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("name") << "providerNameBox"
                              << "Name:" << 1;
        QTest::newRow("prefix") << "networkPrefixBox"
                                << "Netz- nummer:" << 2;
    }
    void boxLabelsBreakAfterHyphen()
    {
        QFETCH(QString, box);
        QFETCH(QString, text);
        QFETCH(int, lines);
        ProviderEditor e;
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QLabel *label = nullptr;
        for (QLabel *l : e.findChildren<QLabel *>()) {
            if (l->buddy() && l->buddy()->objectName() == box)
                label = l;
        }
        QVERIFY(label);
        QCOMPARE(label->text(), text);
        // As many lines as the label's height holds, and each part shown whole.
        QCOMPARE(label->height() / label->fontMetrics().height(), lines);
        const qsizetype gap = text.indexOf(QLatin1String("- "));
        const QStringList parts = gap < 0 ? QStringList{text} : QStringList{text.left(gap + 1), text.mid(gap + 2)};
        for (const QString &part : parts)
            QVERIFY2(label->fontMetrics().horizontalAdvance(part) <= label->width(), qPrintable(part));
    }

    void enterMovesBetweenBoxes()
    {
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({});
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        QApplication::setActiveWindow(&e);
        c.nameBox()->setFocus();
        QTest::keyClick(c.nameBox(), Qt::Key_Return);
        QVERIFY(c.prefixBox()->hasFocus());
        QTest::keyClick(c.prefixBox(), Qt::Key_Enter);
        QVERIFY(c.okButton()->hasFocus());
        QVERIFY(e.isVisible()); // swallowed, not taken as OK
        QCOMPARE(e.result(), int(QDialog::Rejected));
        // Other keys reach the boxes as usual.
        QTest::keyClicks(c.nameBox(), QStringLiteral("a,b"));
        QCOMPARE(c.nameBox()->text(), QStringLiteral("a,b"));
    }

    void valuesComeBackUntrimmed_data()
    {
        QTest::addColumn<int>("option");
        QTest::addColumn<bool>("local");
        QTest::addColumn<bool>("longDistance");
        QTest::addColumn<bool>("abroad");
        QTest::newRow("weekend, local") << 2 << true << false << false;
        QTest::newRow("always, none") << 3 << false << false << false;
        QTest::newRow("weekdays, all") << 1 << true << true << true;
    }
    void valuesComeBackUntrimmed()
    {
        QFETCH(int, option);
        QFETCH(bool, local);
        QFETCH(bool, longDistance);
        QFETCH(bool, abroad);
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({});
        QTest::keyClicks(c.nameBox(), QStringLiteral("  Nacht "));
        QTest::keyClicks(c.prefixBox(), QStringLiteral(" 010 "));
        c.dayOption(option)->click();
        c.distanceBox(1)->setChecked(local);
        c.distanceBox(2)->setChecked(longDistance);
        c.distanceBox(3)->setChecked(abroad);
        const ProviderEditorValues expected{"  Nacht ", " 010 ", DayClass(option), 9, 18, local, longDistance, abroad};
        QCOMPARE(e.values(), expected);
    }

    void cancelAndCloseReject_data()
    {
        QTest::addColumn<int>("how");
        QTest::newRow("Abbrechen") << 0;
        QTest::newRow("Escape") << 1;
        QTest::newRow("window closed") << 2;
        QTest::newRow("OK") << 3;
    }
    void cancelAndCloseReject()
    {
        QFETCH(int, how);
        ProviderEditor e;
        const test::ProviderEditorControls c(&e);
        e.setValues({});
        e.show();
        QVERIFY(QTest::qWaitForWindowExposed(&e));
        switch (how) {
        case 0:
            c.cancelButton()->click();
            break;
        case 1:
            QTest::keyClick(&e, Qt::Key_Escape);
            break;
        case 2:
            e.close();
            break;
        default:
            c.okButton()->click();
            break;
        }
        QVERIFY(!e.isVisible());
        QCOMPARE(e.result(), how == 3 ? int(QDialog::Accepted) : int(QDialog::Rejected));
    }
};

QTEST_MAIN(TestProviderEditor)
#include "tst_providereditor.moc"
