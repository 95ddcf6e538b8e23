#pragma once

#include "dial/dialbackend.h"

namespace quirlanto {

class ToneOutput;

// Dials by playing the touch tones of the command line through the loudspeaker.
class ToneDial final : public DialBackend {
    Q_OBJECT
public:
    // toneDirectory: the program folder whose snd/ holds the tones.
    ToneDial(ToneOutput &output, QString toneDirectory, QObject *parent = nullptr);
    void start(const DialRequest &request) override;
    void cancel() override;

private:
    ToneOutput &m_output;
    QString m_toneDirectory;
    quint64 m_dial = 0; // tells a late answer of an ended dial from the current one
};

} // namespace quirlanto
