#include "Synth.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <memory>

namespace synth {

int Frames(double seconds) { return std::max(0, int(std::lround(seconds * Rate))); }

float TNoise::Next() { return float(Uniform() * 2.0 - 1.0); }

double TNoise::Uniform()
{
    // xorshift32: small, fast and the same everywhere.
    State ^= State << 13;
    State ^= State >> 17;
    State ^= State << 5;
    return double(State) / 4294967296.0;
}

namespace {

double WaveValue(TWave wave, double phase)
{
    const double p = phase - std::floor(phase);
    switch (wave) {
    case TWave::Square:
        return p < 0.5 ? 1.0 : -1.0;
    case TWave::Saw:
        return 2.0 * p - 1.0;
    case TWave::Triangle:
        return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
    case TWave::Sine:
        break;
    }
    return std::sin(2.0 * Pi * p);
}

} // namespace

TSignal Tone(double seconds, const std::function<double(double)>& frequency, TWave wave,
             const std::function<double(double)>& amplitude)
{
    TSignal out(std::size_t(Frames(seconds)));
    double phase = 0.0;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const double t = double(i) / Rate;
        const double a = amplitude ? amplitude(t) : 1.0;
        out[i] = float(a * WaveValue(wave, phase));
        phase += frequency(t) / Rate;
    }
    return out;
}

TSignal Noise(double seconds, TNoise& noise)
{
    TSignal out(std::size_t(Frames(seconds)));
    for (float& s : out)
        s = noise.Next();
    return out;
}

void Shape(TSignal& signal, const std::function<double(double)>& envelope)
{
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] = float(signal[i] * envelope(double(i) / Rate));
}

double Pluck(double t, double attack, double decay)
{
    if (t < attack)
        return attack <= 0 ? 1.0 : t / attack;
    return std::exp(-(t - attack) / decay);
}

void LowPass(TSignal& signal, double cutoff)
{
    const double a = 1.0 - std::exp(-2.0 * Pi * cutoff / Rate);
    double y = 0.0;
    for (float& s : signal) {
        y += a * (s - y);
        s = float(y);
    }
}

void HighPass(TSignal& signal, double cutoff)
{
    TSignal low = signal;
    LowPass(low, cutoff);
    for (std::size_t i = 0; i < signal.size(); ++i)
        signal[i] -= low[i];
}

void BandPass(TSignal& signal, const std::function<double(double)>& centre, double q)
{
    // State-variable filter: stable while the centre moves.
    double low = 0.0, band = 0.0;
    for (std::size_t i = 0; i < signal.size(); ++i) {
        const double f = 2.0 * std::sin(Pi * std::min(centre(double(i) / Rate), Rate / 6.0) / Rate);
        const double high = signal[i] - low - band / q;
        band += f * high;
        low += f * band;
        signal[i] = float(band);
    }
}

void Mix(TSignal& into, const TSignal& part, double at, double gain)
{
    const std::size_t start = std::size_t(Frames(at));
    if (into.size() < start + part.size())
        into.resize(start + part.size(), 0.0f);
    for (std::size_t i = 0; i < part.size(); ++i)
        into[start + i] += float(part[i] * gain);
}

void Echo(TSignal& signal, double delay, double gain, int repeats)
{
    const TSignal dry = signal;
    double g = gain;
    for (int r = 1; r <= repeats; ++r, g *= gain)
        Mix(signal, dry, delay * r, g);
}

void Normalise(TSignal& signal, double rmsDb, double peakDb)
{
    double sum = 0.0, peak = 0.0;
    for (const float s : signal) {
        sum += double(s) * s;
        peak = std::max(peak, double(std::fabs(s)));
    }
    if (signal.empty() || peak <= 0.0)
        return;
    const double rms = std::sqrt(sum / double(signal.size()));
    const double gain = std::min(std::pow(10.0, rmsDb / 20.0) / rms, std::pow(10.0, peakDb / 20.0) / peak);
    for (float& s : signal)
        s = float(s * gain);
}

void FadeEdges(TSignal& signal, double seconds)
{
    const std::size_t n = std::min(signal.size() / 2, std::size_t(Frames(seconds)));
    for (std::size_t i = 0; i < n; ++i) {
        const float g = float(i) / float(n);
        signal[i] *= g;
        signal[signal.size() - 1 - i] *= g;
    }
}

void FadeOut(TSignal& signal, double seconds)
{
    const std::size_t n = std::min(signal.size(), std::size_t(Frames(seconds)));
    const std::size_t first = signal.size() - n;
    for (std::size_t i = 0; i < n; ++i) {
        const double left = double(n - 1 - i) / double(std::max<std::size_t>(1, n - 1)); // 1 .. 0
        signal[first + i] *= float(0.5 - 0.5 * std::cos(Pi * left));
    }
}

std::vector<std::int16_t> ToPcm(const TSignal& signal)
{
    std::vector<std::int16_t> pcm(signal.size());
    for (std::size_t i = 0; i < signal.size(); ++i)
        pcm[i] = std::int16_t(std::lround(std::clamp(signal[i], -1.0f, 1.0f) * 32767.0f));
    return pcm;
}

namespace {

void Put32(std::string& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(char((v >> (8 * i)) & 0xFF));
}

void Put16(std::string& out, std::uint16_t v)
{
    out.push_back(char(v & 0xFF));
    out.push_back(char(v >> 8));
}

bool WriteBytes(const std::filesystem::path& file, const std::string& bytes)
{
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
    return bool(out);
}

struct TLameClose {
    void operator()(lame_global_flags* flags) const { lame_close(flags); }
};

} // namespace

bool WriteWav(const std::filesystem::path& file, const TSignal& signal)
{
    const std::vector<std::int16_t> pcm = ToPcm(signal);
    const auto dataBytes = std::uint32_t(pcm.size() * 2);
    std::string out;
    out += "RIFF";
    Put32(out, 36 + dataBytes);
    out += "WAVEfmt ";
    Put32(out, 16);
    Put16(out, 1);              // PCM
    Put16(out, 1);              // mono
    Put32(out, Rate);
    Put32(out, Rate * 2);       // bytes per second
    Put16(out, 2);              // bytes per frame
    Put16(out, 16);             // bits
    out += "data";
    Put32(out, dataBytes);
    for (const std::int16_t s : pcm)
        Put16(out, std::uint16_t(s));
    return WriteBytes(file, out);
}

bool WriteMp3(const std::filesystem::path& file, const TSignal& signal)
{
    std::unique_ptr<lame_global_flags, TLameClose> lame(lame_init());
    if (lame == nullptr)
        return false;
    lame_set_in_samplerate(lame.get(), Rate);
    lame_set_out_samplerate(lame.get(), Rate);
    lame_set_num_channels(lame.get(), 1);
    lame_set_mode(lame.get(), MONO);
    lame_set_brate(lame.get(), 128);
    lame_set_quality(lame.get(), 2);
    lame_set_write_id3tag_automatic(lame.get(), 0);
    if (lame_init_params(lame.get()) < 0)
        return false;
    std::vector<std::int16_t> pcm = ToPcm(signal);
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 + 16384);
    const int written = lame_encode_buffer(lame.get(), pcm.data(), pcm.data(), int(pcm.size()), mp3.data(),
                                           int(mp3.size()));
    if (written < 0)
        return false;
    const int flushed = lame_encode_flush(lame.get(), mp3.data() + written, int(mp3.size()) - written);
    if (flushed < 0)
        return false;
    return WriteBytes(file, std::string(reinterpret_cast<const char*>(mp3.data()), std::size_t(written + flushed)));
}

double Note(int midi) { return 440.0 * std::pow(2.0, (midi - 69) / 12.0); }

} // namespace synth
