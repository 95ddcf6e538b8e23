// Writes the key tone files the loudspeaker dial plays: one WAV per key plus a two-second pause.
// Usage: tonegen <output folder>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int kSampleRate = 22050;
constexpr double kToneSeconds = 0.100;
constexpr double kGapSeconds = 0.100;
constexpr double kPauseSeconds = 2.0;
constexpr double kRampSeconds = 0.004; // soft edges, so the keys do not click
// The high tone is about 2 dB louder than the low one ("twist"), as telephone keypads send them.
constexpr double kHighToLow = 1.2589254117941673; // 10^(2/20)
// Peak of the sum stays at 90 % of full scale.
constexpr double kLowAmplitude = 0.90 * 32767.0 / (1.0 + kHighToLow);

struct Key {
    const char *name;
    double low;
    double high;
};

constexpr Key kKeys[] = {
    {"1", 697, 1209}, {"2", 697, 1336}, {"3", 697, 1477}, {"4", 770, 1209},     {"5", 770, 1336}, {"6", 770, 1477},
    {"7", 852, 1209}, {"8", 852, 1336}, {"9", 852, 1477}, {"stern", 941, 1209}, {"0", 941, 1336}, {"#", 941, 1477},
};

void putLe(std::vector<char> &out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(char((value >> (8 * i)) & 0xff));
}

bool writeWav(const std::string &path, const std::vector<int16_t> &samples)
{
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<char> out;
    out.reserve(44 + dataBytes);
    out.insert(out.end(), {'R', 'I', 'F', 'F'});
    putLe(out, 36 + dataBytes, 4);
    out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
    putLe(out, 16, 4);
    putLe(out, 1, 2); // PCM
    putLe(out, 1, 2); // mono
    putLe(out, kSampleRate, 4);
    putLe(out, kSampleRate * 2, 4);
    putLe(out, 2, 2);
    putLe(out, 16, 2);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    putLe(out, dataBytes, 4);
    for (int16_t s : samples)
        putLe(out, uint16_t(s), 2);

    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(out.data(), std::streamsize(out.size()));
    return bool(file);
}

std::vector<int16_t> keyTone(const Key &key)
{
    const int toneSamples = int(std::lround(kToneSeconds * kSampleRate));
    const int gapSamples = int(std::lround(kGapSeconds * kSampleRate));
    const int rampSamples = int(std::lround(kRampSeconds * kSampleRate));
    std::vector<int16_t> samples(size_t(toneSamples + gapSamples), 0);
    for (int i = 0; i < toneSamples; ++i) {
        const double t = double(i) / kSampleRate;
        double envelope = 1.0;
        const int edge = std::min(i, toneSamples - 1 - i);
        if (edge < rampSamples)
            envelope = 0.5 - 0.5 * std::cos(M_PI * edge / rampSamples);
        const double value =
            kLowAmplitude * (std::sin(2 * M_PI * key.low * t) + kHighToLow * std::sin(2 * M_PI * key.high * t));
        samples[size_t(i)] = int16_t(std::lround(envelope * value));
    }
    return samples;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: tonegen <output folder>\n");
        return 2;
    }
    std::string folder = argv[1];
    if (!folder.empty() && folder.back() != '/')
        folder += '/';

    bool ok = true;
    for (const Key &key : kKeys)
        ok = writeWav(folder + key.name + ".WAV", keyTone(key)) && ok;
    const std::vector<int16_t> pause(size_t(std::lround(kPauseSeconds * kSampleRate)), 0);
    ok = writeWav(folder + "pause2000.WAV", pause) && ok;
    if (!ok) {
        std::fprintf(stderr, "tonegen: cannot write into %s\n", folder.c_str());
        return 1;
    }
    return 0;
}
