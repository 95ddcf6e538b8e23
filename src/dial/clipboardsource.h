#pragma once

#include <QClipboard>
#include <QString>

namespace quirlanto {

// Where the dial command reads a clipboard number from.
class ClipboardSource {
public:
    virtual ~ClipboardSource() = default;
    virtual bool hasText() const = 0;
    virtual QString text() const = 0;
};

// The desktop clipboard, or the marked text (the X11 primary selection, also offered by some
// Wayland compositors).
class QtClipboardSource final : public ClipboardSource {
public:
    explicit QtClipboardSource(QClipboard::Mode mode = QClipboard::Clipboard)
        : m_mode(mode)
    {}
    bool hasText() const override;
    QString text() const override;
    // Whether this session has such a clipboard at all.
    bool isOffered() const;

private:
    QClipboard::Mode m_mode;
};

} // namespace quirlanto
