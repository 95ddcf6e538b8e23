#pragma once

#include <QString>

namespace quirlanto {

// Where the dial command reads a clipboard number from.
class ClipboardSource {
public:
    virtual ~ClipboardSource() = default;
    virtual bool hasText() const = 0;
    virtual QString text() const = 0;
};

// The desktop clipboard (not the X11 selection).
class QtClipboardSource final : public ClipboardSource {
public:
    bool hasText() const override;
    QString text() const override;
};

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
