#pragma once

#include <QLabel>
#include <functional>

class QLineEdit;

namespace quirlanto {

// A line under a text box that shows how its text will be stored while that differs from what
// was typed (a letter the file cannot hold, a number in national form). Its room is kept when
// it is empty, so the dialog does not jump while typing.
class StoredFormHint : public QLabel {
    Q_OBJECT
public:
    using Transform = std::function<QString(const QString &)>;

    StoredFormHint(QLineEdit *box, Transform storedForm, QWidget *parent);
    // The text to compare with, when the box was filled from stored data: unchanged text is
    // stored as it is.
    void setOriginal(const QString &text);
    // What will be stored for the box's current text.
    QString storedText() const;
    // How the stored form is shown, when people read it otherwise (a number grouped).
    void setShownForm(Transform shownForm);

private:
    void refresh();

    QLineEdit *m_box;
    Transform m_storedForm;
    Transform m_shownForm;
    QString m_original;
    bool m_haveOriginal = false;
};

} // namespace quirlanto
