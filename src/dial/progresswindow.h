#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quirlanto {

// "Anwahl": shown modally while the modem dials.
class ProgressWindow : public QDialog {
    Q_OBJECT
public:
    explicit ProgressWindow(QWidget *parent = nullptr);

    void setEntry(const QString &name, const QString &displayNumber);
    // Tells the user why nothing happens when the modem reports a failure; the window stays open.
    void showResultWord(const QString &word);
    // Closes the window without asking for an abort (the dial has ended).
    void finish();

signals:
    // "&Abbruch", Escape or the close box.
    void abortRequested();

protected:
    void reject() override;

private:
    QLabel *m_heading;
    QLabel *m_name;
    QLabel *m_number;
    QLabel *m_result;
    QPushButton *m_abort;
};

// German explanation shown for a result word.
QString resultWordText(const QString &word);

} // namespace quirlanto
