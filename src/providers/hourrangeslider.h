#pragma once

#include <QSlider>

namespace quirlanto {

// A horizontal slider over the hours 0..24 that also shows a selected range, and notes
// whether Shift, Ctrl or Alt was held at the last mouse or key press that moved it.
class HourRangeSlider : public QSlider {
    Q_OBJECT
public:
    explicit HourRangeSlider(QWidget *parent = nullptr);

    int selectionStart() const { return m_selectionStart; }
    int selectionLength() const { return m_selectionLength; }
    void setSelection(int start, int length);

    bool modifierAtLastPress() const { return m_modifierAtLastPress; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    int m_selectionStart = 0;
    int m_selectionLength = 0;
    bool m_modifierAtLastPress = false;
};

} // namespace quirlanto
