#include "support/storedformhint.h"

#include <QLineEdit>

namespace quirlanto {

StoredFormHint::StoredFormHint(QLineEdit *box, Transform storedForm, QWidget *parent)
    : QLabel(parent)
    , m_box(box)
    , m_storedForm(std::move(storedForm))
{
    setTextFormat(Qt::PlainText);
    setForegroundRole(QPalette::PlaceholderText);
    QSizePolicy policy = sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    setSizePolicy(policy);
    connect(box, &QLineEdit::textChanged, this, &StoredFormHint::refresh);
    refresh();
}

void StoredFormHint::setOriginal(const QString &text)
{
    m_original = text;
    m_haveOriginal = true;
    refresh();
}

QString StoredFormHint::storedText() const
{
    const QString typed = m_box->text();
    if (m_haveOriginal && typed == m_original)
        return typed;
    return m_storedForm(typed);
}

void StoredFormHint::setShownForm(Transform shownForm)
{
    m_shownForm = std::move(shownForm);
    refresh();
}

void StoredFormHint::refresh()
{
    const QString stored = storedText();
    const bool differs = stored != m_box->text().trimmed();
    QString hint;
    if (differs)
        hint = QStringLiteral("Wird gespeichert als: %1").arg(m_shownForm ? m_shownForm(stored) : stored);
    setText(hint);
    setVisible(differs);
}

} // namespace quirlanto
