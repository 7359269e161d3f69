#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <vector>

// Small building blocks for making sounds from nothing: oscillators, noise,
// envelopes, one-pole and resonant filters, and mixing. Everything is mono
// float at 44.1 kHz; the same calls always give the same samples.
namespace synth {

inline constexpr int Rate = 44100;
inline constexpr double Pi = 3.14159265358979323846;

using TSignal = std::vector<float>;

int Frames(double seconds);

// A generator of its own per sound, so that one sound never changes another.
class TNoise {
public:
    explicit TNoise(std::uint32_t seed) : State(seed == 0 ? 1u : seed) {}
    float Next(); // -1..1
    double Uniform(); // 0..1
private:
    std::uint32_t State;
};

enum class TWave { Sine, Square, Saw, Triangle };

// A tone whose frequency (Hz) and amplitude may change with time (seconds).
TSignal Tone(double seconds, const std::function<double(double t)>& frequency, TWave wave = TWave::Sine,
             const std::function<double(double t)>& amplitude = {});
TSignal Noise(double seconds, TNoise& noise);

// Multiplies by an envelope of time.
void Shape(TSignal& signal, const std::function<double(double t)>& envelope);
// Attack and exponential decay: rises in `attack` s, then falls by e every `decay` s.
double Pluck(double t, double attack, double decay);

void LowPass(TSignal& signal, double cutoff);
void HighPass(TSignal& signal, double cutoff);
// Resonant band-pass whose centre may move with time.
void BandPass(TSignal& signal, const std::function<double(double t)>& centre, double q);

// Adds `part` into `into` from `at` seconds on, scaled by `gain`; grows `into`.
void Mix(TSignal& into, const TSignal& part, double at, double gain = 1.0);
// Adds a delayed, fainter copy of itself.
void Echo(TSignal& signal, double delay, double gain, int repeats);

// Scales the loudness to a common level: the RMS to `rmsDb` dBFS unless the
// peak would then pass `peakDb`, in which case the peak sets the gain.
void Normalise(TSignal& signal, double rmsDb = -18.0, double peakDb = -1.0);
void FadeEdges(TSignal& signal, double seconds);
// Lowers the last `seconds` smoothly to silence (a raised-cosine fall), so a
// sound that still rings or rumbles at its end is not cut off.
void FadeOut(TSignal& signal, double seconds);

std::vector<std::int16_t> ToPcm(const TSignal& signal);
bool WriteWav(const std::filesystem::path& file, const TSignal& signal);
bool WriteMp3(const std::filesystem::path& file, const TSignal& signal);

// Equal-tempered pitch of a MIDI note number (69 = A 440 Hz).
double Note(int midi);

} // namespace synth
