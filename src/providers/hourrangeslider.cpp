#include "providers/hourrangeslider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionSlider>

namespace quirlanto {

namespace {
bool rangeModifier(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier)) != 0;
}
} // namespace

HourRangeSlider::HourRangeSlider(QWidget *parent)
    : QSlider(Qt::Horizontal, parent)
{
    setRange(0, 24);
    setSingleStep(1);
    setPageStep(4);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(1);
}

void HourRangeSlider::setSelection(int start, int length)
{
    if (start == m_selectionStart && length == m_selectionLength)
        return;
    m_selectionStart = start;
    m_selectionLength = length;
    update();
}

void HourRangeSlider::mousePressEvent(QMouseEvent *event)
{
    m_modifierAtLastPress = rangeModifier(event->modifiers());
    QSlider::mousePressEvent(event);
}

void HourRangeSlider::keyPressEvent(QKeyEvent *event)
{
    // Keyboard users hold the modifier with the arrow keys, as mouse users do with a drag.
    m_modifierAtLastPress = rangeModifier(event->modifiers());
    QSlider::keyPressEvent(event);
}

void HourRangeSlider::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QStyleOptionSlider opt;
    initStyleOption(&opt);

    // Some styles fill the groove up to the handle; drawn from the minimum, the groove stays
    // plain and only the selected hours stand out.
    QStyleOptionSlider grooveOpt = opt;
    grooveOpt.subControls = QStyle::SC_SliderGroove | QStyle::SC_SliderTickmarks;
    grooveOpt.sliderPosition = grooveOpt.upsideDown ? maximum() : minimum();
    grooveOpt.sliderValue = grooveOpt.sliderPosition;
    style()->drawComplexControl(QStyle::CC_Slider, &grooveOpt, &painter, this);

    const QRect groove = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderGroove, this);
    const QRect handle = style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, this);
    const int span = groove.width() - handle.width();
    auto xFor = [&](int value) {
        const int v = qBound(minimum(), value, maximum());
        return groove.x() + handle.width() / 2
               + QStyle::sliderPositionFromValue(minimum(), maximum(), v, span, opt.upsideDown);
    };
    if (m_selectionLength >= 0) {
        const int x1 = xFor(m_selectionStart);
        const int x2 = xFor(m_selectionStart + m_selectionLength);
        const qreal mid = groove.center().y() + 0.5;
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(palette().color(isEnabled() ? QPalette::Highlight : QPalette::Mid));
        painter.drawRoundedRect(QRectF(qMin(x1, x2) - 3, mid - 3, qAbs(x2 - x1) + 6, 6), 3, 3);
        painter.restore();
    }

    opt.subControls = QStyle::SC_SliderHandle;
    style()->drawComplexControl(QStyle::CC_Slider, &opt, &painter, this);
}

} // namespace quirlanto
