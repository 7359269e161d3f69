// The two pieces of music: a bubbly start-up jingle and the winning tune.
#include "Sounds.h"

#include <cmath>

namespace synth {

namespace {

TSignal Bubble(double frequency, double length)
{
    // A bubble rising through water: a quick upward glide that dies at once.
    return Tone(length, [=](double t) { return frequency * (1.0 + 1.2 * t / length); }, TWave::Sine,
                [=](double t) { return Pluck(t, 0.004, length / 3.0); });
}

TSignal Blub()
{
    const int tune[] = {72, 74, 76, 79, 81, 79, 84, 81, 79, 76, 79, 84};
    TSignal out;
    double at = 0.0;
    for (std::size_t i = 0; i < std::size(tune); ++i) {
        const double step = (i % 4 == 3) ? 0.28 : 0.16;
        Mix(out, Bubble(Note(tune[i]), 0.14), at);
        Mix(out, Bubble(Note(tune[i] - 12), 0.10), at + 0.02, 0.35);
        at += step;
    }
    Mix(out, Bubble(Note(60), 0.25), at + 0.05);
    Mix(out, Bubble(Note(67), 0.25), at + 0.20);
    Mix(out, Bubble(Note(72), 0.45), at + 0.35, 1.2);
    Echo(out, 0.09, 0.3, 2);
    return out;
}

struct TMelodyNote {
    int Midi;
    double Beats;
};

constexpr double Beat = 60.0 / 140.0;

TSignal Lead(double frequency, double seconds)
{
    TSignal out = Tone(seconds, [=](double t) { return frequency * (1.0 + 0.006 * std::sin(2 * Pi * 5 * t)); },
                       TWave::Square, [=](double t) {
                           return Pluck(t, 0.01, 0.6) * std::min(1.0, std::max(0.0, (seconds - t) / 0.03));
                       });
    LowPass(out, 2600);
    return out;
}

TSignal Bass(double frequency, double seconds)
{
    return Tone(seconds, [=](double) { return frequency; }, TWave::Triangle,
                [=](double t) { return Pluck(t, 0.005, 0.35) * std::min(1.0, std::max(0.0, (seconds - t) / 0.02)); });
}

TSignal Stab(int root, bool minor)
{
    TSignal out;
    for (const int offset : {0, minor ? 3 : 4, 7, 12}) {
        TSignal voice = Tone(0.25, [=](double) { return Note(root + offset); }, TWave::Saw,
                             [](double t) { return Pluck(t, 0.004, 0.07); });
        Mix(out, voice, 0, 0.25);
    }
    LowPass(out, 1800);
    return out;
}

TSignal Kick()
{
    return Tone(0.2, [](double t) { return 45.0 + 120.0 * std::exp(-t / 0.03); }, TWave::Sine,
                [](double t) { return Pluck(t, 0.001, 0.06); });
}

TSignal Hat(TNoise& noise)
{
    TSignal hat = Noise(0.05, noise);
    HighPass(hat, 7000);
    Shape(hat, [](double t) { return Pluck(t, 0.0005, 0.01); });
    return hat;
}

TSignal Tune()
{
    // Twelve bars in C: a tune over C G Am F, then a turn home.
    const std::vector<std::vector<TMelodyNote>> bars{
        {{76, 1}, {79, 1}, {84, 1}, {79, 1}},
        {{83, 1.5}, {81, 0.5}, {79, 2}},
        {{81, 1}, {84, 1}, {88, 1}, {84, 1}},
        {{86, 1.5}, {84, 0.5}, {81, 1}, {77, 1}},
        {{76, 0.5}, {77, 0.5}, {79, 1}, {84, 1}, {79, 1}},
        {{79, 0.5}, {81, 0.5}, {83, 1}, {86, 1}, {83, 1}},
        {{81, 1}, {77, 1}, {81, 0.5}, {84, 1.5}},
        {{83, 1}, {86, 1}, {91, 2}},
        {{88, 1}, {84, 1}, {81, 1}, {84, 1}},
        {{89, 1}, {88, 0.5}, {86, 0.5}, {84, 1}, {81, 1}},
        {{83, 1}, {86, 1}, {84, 0.5}, {83, 0.5}, {79, 1}},
        {{84, 4}}};
    struct TChord { int Root; bool Minor; };
    const TChord chords[] = {{48, false}, {43, false}, {45, true}, {41, false}, {48, false}, {43, false},
                             {41, false}, {43, false}, {45, true}, {41, false}, {43, false}, {48, false}};
    TNoise noise(97);
    TSignal out;
    for (std::size_t bar = 0; bar < bars.size(); ++bar) {
        const double start = double(bar) * 4 * Beat;
        double at = start;
        for (const TMelodyNote& note : bars[bar]) {
            Mix(out, Lead(Note(note.Midi), note.Beats * Beat * 0.95), at, 0.55);
            at += note.Beats * Beat;
        }
        const TChord chord = chords[bar];
        const bool last = bar + 1 == bars.size();
        for (int beat = 0; beat < 4; ++beat) {
            const double t = start + beat * Beat;
            if (last && beat > 0)
                break;
            Mix(out, Bass(Note(chord.Root - 12 + (beat == 2 ? 7 : 0)), last ? 3 * Beat : Beat * 0.9), t, 0.7);
            if (beat % 2 == 1)
                Mix(out, Stab(chord.Root + 12, chord.Minor), t, 0.6);
            if (beat % 2 == 0)
                Mix(out, Kick(), t, 0.6);
            Mix(out, Hat(noise), t + Beat / 2, 0.15);
        }
        if (last)
            Mix(out, Stab(chord.Root + 12, chord.Minor), start, 0.8);
    }
    FadeEdges(out, 0.005);
    return out;
}

} // namespace

const std::vector<TSound>& Music()
{
    static const std::vector<TSound> music{{"blub.mp3", Blub}, {"New-5848.mp3", Tune}};
    return music;
}

} // namespace synth
