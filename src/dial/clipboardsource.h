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

} // namespace quirlanto
