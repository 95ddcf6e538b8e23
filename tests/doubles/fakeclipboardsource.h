// A clipboard the test fills or empties.
#pragma once

#include "dial/clipboardsource.h"

namespace quirlanto {

class FakeClipboardSource final : public ClipboardSource {
public:
    bool hasText() const override { return m_hasText; }
    QString text() const override { return m_text; }
    void setText(const QString &text)
    {
        m_text = text;
        m_hasText = true;
    }
    void clear()
    {
        m_text.clear();
        m_hasText = false;
    }

private:
    QString m_text;
    bool m_hasText = false;
};

} // namespace quirlanto
