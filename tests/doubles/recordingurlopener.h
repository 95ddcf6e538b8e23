// Notes every address it is asked to open and answers with the result the test sets.
#pragma once

#include "support/helplinks.h"

#include <QList>
#include <QUrl>

namespace quirlanto {

class RecordingUrlOpener final : public UrlOpener {
public:
    struct Call {
        QUrl url;
        ShowMode mode;
    };
    bool openUrl(const QUrl &url, ShowMode mode) override
    {
        m_calls.append({url, mode});
        return m_result;
    }
    void setResult(bool result) { m_result = result; }
    const QList<Call> &calls() const { return m_calls; }
    void clear() { m_calls.clear(); }

private:
    QList<Call> m_calls;
    bool m_result = true;
};

} // namespace quirlanto
