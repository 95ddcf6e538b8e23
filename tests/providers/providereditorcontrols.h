// The provider editor's controls as tests reach them: by their object names.
#pragma once

#include "providers/hourrangeslider.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace quirlanto::test {

class ProviderEditorControls {
public:
    explicit ProviderEditorControls(const QWidget *editor)
        : m_editor(editor)
    {}

    QLineEdit *nameBox() const { return find<QLineEdit>("providerNameBox"); }
    QLineEdit *prefixBox() const { return find<QLineEdit>("networkPrefixBox"); }
    HourRangeSlider *timeSlider() const { return find<HourRangeSlider>("hourRangeSlider"); }
    QLabel *timeLabel() const { return find<QLabel>("hourRangeLabel"); }
    // 1 "Mo - Fr", 2 "Sa - So", 3 "immer"
    QRadioButton *dayOption(int code) const
    {
        return find<QRadioButton>(code == 1 ? "weekdaysOption" : code == 2 ? "weekendOption" : "alwaysOption");
    }
    // 1 "Nah", 2 "Fern", 3 "Ausland"
    QCheckBox *distanceBox(int index) const
    {
        return find<QCheckBox>(index == 1 ? "localCheckBox" : index == 2 ? "longDistanceCheckBox" : "abroadCheckBox");
    }
    QPushButton *okButton() const { return find<QPushButton>("okButton"); }
    QPushButton *cancelButton() const { return find<QPushButton>("cancelButton"); }

private:
    // Fails loudly instead of handing a null control to the test.
    template <typename T>
    T *find(const char *name) const
    {
        T *control = m_editor->findChild<T *>(QString::fromLatin1(name));
        if (!control)
            qFatal("provider editor has no %s", name);
        return control;
    }

    const QWidget *m_editor;
};

} // namespace quirlanto::test
