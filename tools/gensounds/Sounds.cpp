// The program's short sounds, one recipe each. Every recipe seeds its own
// noise so that changing one sound never changes another.
#include "Sounds.h"

#include <cmath>

namespace synth {

namespace {

TSignal Bell(double frequency, double seconds, double decay)
{
    // Inharmonic partials give a struck-metal colour.
    TSignal out = Tone(seconds, [=](double) { return frequency; }, TWave::Sine,
                       [=](double t) { return Pluck(t, 0.002, decay); });
    Mix(out, Tone(seconds, [=](double) { return frequency * 2.76; }, TWave::Sine,
                  [=](double t) { return 0.45 * Pluck(t, 0.002, decay * 0.5); }), 0);
    Mix(out, Tone(seconds, [=](double) { return frequency * 5.40; }, TWave::Sine,
                  [=](double t) { return 0.25 * Pluck(t, 0.001, decay * 0.25); }), 0);
    return out;
}

TSignal Clap(TNoise& noise, double gain)
{
    // A hand clap: a few very close bursts of band-limited noise.
    TSignal clap;
    for (int burst = 0; burst < 3; ++burst) {
        TSignal part = Noise(0.09, noise);
        Shape(part, [](double t) { return Pluck(t, 0.0005, 0.012); });
        Mix(clap, part, burst * 0.008, burst == 2 ? 1.0 : 0.6);
    }
    BandPass(clap, [](double) { return 1400.0; }, 1.2);
    for (float& s : clap)
        s = float(s * gain);
    return clap;
}

TSignal Brass(double frequency, double seconds)
{
    TSignal out = Tone(seconds, [=](double t) { return frequency * (1.0 + 0.004 * std::sin(2 * Pi * 5.5 * t)); },
                       TWave::Saw, [=](double t) {
                           const double attack = std::min(1.0, t / 0.04);
                           const double release = std::min(1.0, (seconds - t) / 0.06);
                           return attack * std::max(0.0, release) * (0.85 + 0.15 * std::exp(-t / 0.1));
                       });
    LowPass(out, 2200);
    return out;
}

TSignal Flick(TNoise& noise, double seconds)
{
    TSignal flick = Noise(seconds, noise);
    Shape(flick, [=](double t) { return Pluck(t, 0.004, seconds / 4); });
    BandPass(flick, [=](double t) { return 5000 - 2500 * t / seconds; }, 2.0);
    return flick;
}

TSignal Congrat()
{
    TSignal out;
    const int notes[] = {72, 76, 79, 84};
    for (int i = 0; i < 4; ++i)
        Mix(out, Bell(Note(notes[i]), 1.2, 0.35), i * 0.16);
    for (const int n : {72, 76, 79, 84, 88})
        Mix(out, Bell(Note(n), 1.8, 0.6), 0.70, 0.5);
    FadeOut(out, 0.5);
    return out;
}

TSignal Applause()
{
    TNoise noise(11);
    TSignal out(std::size_t(Frames(3.2)), 0.0f);
    // Many people clapping, each at a tempo of their own, swelling and fading.
    for (int person = 0; person < 18; ++person) {
        const double period = 0.20 + 0.12 * noise.Uniform();
        for (double t = 0.05 * noise.Uniform(); t < 3.0; t += period * (0.9 + 0.2 * noise.Uniform())) {
            const double swell = std::min(1.0, t / 0.4) * std::min(1.0, (3.1 - t) / 1.0);
            Mix(out, Clap(noise, 0.5 + 0.5 * noise.Uniform()), t, swell);
        }
    }
    return out;
}

TSignal Beepspac()
{
    TSignal out = Tone(0.35, [](double t) { return 500.0 * std::pow(3.0, t / 0.35); }, TWave::Square,
                       [](double t) { return std::min(1.0, t / 0.01) * std::min(1.0, (0.35 - t) / 0.03); });
    LowPass(out, 4000);
    return out;
}

TSignal Chime()
{
    TSignal out = Bell(Note(81), 1.6, 0.5);
    Mix(out, Bell(Note(88), 1.4, 0.45), 0.12, 0.8);
    FadeOut(out, 0.4);
    return out;
}

TSignal Spaced()
{
    TSignal out = Tone(1.3, [](double t) { return 300.0 + 500.0 * t + 40.0 * std::sin(2 * Pi * 7 * t); },
                       TWave::Triangle, [](double t) { return Pluck(t, 0.05, 0.35); });
    LowPass(out, 3000);
    Echo(out, 0.11, 0.5, 4);
    return out;
}

TSignal Claps()
{
    TNoise noise(5);
    TSignal out;
    for (int i = 0; i < 5; ++i)
        Mix(out, Clap(noise, 1.0), i * 0.17 + 0.01 * noise.Uniform());
    return out;
}

TSignal Drag()
{
    // A card slid over cloth: soft, breathy, no attack.
    TNoise noise(7);
    TSignal out = Noise(0.16, noise);
    BandPass(out, [](double t) { return 1500 + 2500 * t; }, 0.8);
    Shape(out, [](double t) { return std::sin(Pi * t / 0.16); });
    return out;
}

TSignal Drop()
{
    // The tap of a card on the table: a click and a small low knock.
    TNoise noise(3);
    TSignal click = Noise(0.03, noise);
    Shape(click, [](double t) { return Pluck(t, 0.0003, 0.004); });
    HighPass(click, 1500);
    TSignal knock = Tone(0.09, [](double t) { return 210.0 - 400.0 * t; }, TWave::Sine,
                         [](double t) { return Pluck(t, 0.001, 0.02); });
    Mix(knock, click, 0, 0.8);
    return knock;
}

TSignal Explosion()
{
    TNoise noise(17);
    TSignal out = Noise(2.6, noise);
    LowPass(out, 900);
    LowPass(out, 500);
    Shape(out, [](double t) { return Pluck(t, 0.005, 0.55); });
    TSignal boom = Tone(1.5, [](double t) { return 60.0 - 25.0 * t; }, TWave::Sine,
                        [](double t) { return Pluck(t, 0.003, 0.4); });
    Mix(out, boom, 0, 0.7);
    return out;
}

TSignal Fanfare()
{
    // A short brass call: a rising figure and a held top note.
    struct TStep { int Note; double At; double Length; };
    const TStep steps[] = {{67, 0.00, 0.16}, {72, 0.18, 0.16}, {76, 0.36, 0.16},
                           {79, 0.54, 0.34}, {76, 0.90, 0.16}, {79, 1.08, 0.90}};
    TSignal out;
    for (const TStep& s : steps) {
        Mix(out, Brass(Note(s.Note), s.Length), s.At);
        Mix(out, Brass(Note(s.Note - 12), s.Length), s.At, 0.4);
    }
    return out;
}

TSignal Whoosh()
{
    TNoise noise(23);
    TSignal out = Noise(1.5, noise);
    BandPass(out, [](double t) { return 300.0 + 5000.0 * std::sin(Pi * t / 1.5); }, 3.0);
    Shape(out, [](double t) { return std::pow(std::sin(Pi * t / 1.5), 2.0); });
    // A glassy glint on top.
    Mix(out, Bell(Note(96), 1.0, 0.3), 0.55, 0.05);
    return out;
}

TSignal R2()
{
    // A chattering robot: quick gliding beeps of jumping pitch.
    TNoise noise(31);
    TSignal out;
    double at = 0.0;
    for (int i = 0; i < 9; ++i) {
        const double from = 900 + 2200 * noise.Uniform();
        const double to = 900 + 2200 * noise.Uniform();
        const double length = 0.05 + 0.08 * noise.Uniform();
        Mix(out, Tone(length, [=](double t) { return from + (to - from) * t / length; }, TWave::Sine,
                      [=](double t) { return std::min(1.0, std::min(t, length - t) / 0.008); }), at);
        at += length + 0.015;
    }
    return out;
}

TSignal Ring()
{
    // Two close tones trilled twenty times a second, in two bursts.
    TSignal out;
    for (const double start : {0.0, 0.6}) {
        TSignal burst = Tone(0.45, [](double) { return 440.0; }, TWave::Sine,
                             [](double t) { return 0.5 + 0.5 * (std::sin(2 * Pi * 20 * t) > 0 ? 1 : 0.2); });
        Mix(burst, Tone(0.45, [](double) { return 480.0; }), 0, 0.8);
        FadeEdges(burst, 0.01);
        Mix(out, burst, start);
    }
    return out;
}

TSignal Scream()
{
    // A comic yelp: a sliding, wobbling voice-like buzz.
    TSignal out = Tone(0.9, [](double t) { return (500.0 + 900.0 * std::sin(Pi * t / 0.9)) * (1.0 + 0.04 * std::sin(2 * Pi * 9 * t)); },
                       TWave::Saw, [](double t) { return std::min(1.0, t / 0.03) * std::min(1.0, (0.9 - t) / 0.2); });
    TSignal formant = out;
    BandPass(out, [](double t) { return 900.0 + 700.0 * std::sin(Pi * t / 0.9); }, 4.0);
    BandPass(formant, [](double) { return 2400.0; }, 5.0);
    Mix(out, formant, 0, 0.5);
    return out;
}

TSignal Shuffle()
{
    // A riffle: many card edges snapping, faster towards the middle.
    TNoise noise(41);
    TSignal out(std::size_t(Frames(1.05)), 0.0f);
    double t = 0.02;
    while (t < 0.95) {
        TSignal snap = Noise(0.012, noise);
        Shape(snap, [](double s) { return Pluck(s, 0.0002, 0.0025); });
        Mix(out, snap, t, 0.5 + 0.5 * noise.Uniform());
        t += 0.012 + 0.02 * std::abs(t - 0.5) + 0.004 * noise.Uniform();
    }
    BandPass(out, [](double) { return 3500.0; }, 0.9);
    TSignal bridge = Flick(noise, 0.12);
    Mix(out, bridge, 0.93, 1.5);
    return out;
}

TSignal Success()
{
    TSignal out = Tone(0.6, [](double) { return 1318.5; }, TWave::Sine, [](double t) { return Pluck(t, 0.002, 0.15); });
    Mix(out, Tone(0.6, [](double) { return 2637.0; }, TWave::Sine, [](double t) { return 0.3 * Pluck(t, 0.002, 0.08); }), 0);
    return out;
}

TSignal Thunder()
{
    TNoise noise(53);
    TSignal crack = Noise(0.4, noise);
    HighPass(crack, 800);
    Shape(crack, [](double t) { return Pluck(t, 0.002, 0.06); });
    TSignal rumble = Noise(3.0, noise);
    LowPass(rumble, 300);
    LowPass(rumble, 200);
    // Rolling: slow random swells.
    TNoise roll(59);
    double level = 0.5, target = 0.5;
    for (std::size_t i = 0; i < rumble.size(); ++i) {
        if (i % 4410 == 0)
            target = 0.3 + 0.7 * roll.Uniform();
        level += (target - level) * 0.0005;
        const double t = double(i) / Rate;
        rumble[i] = float(rumble[i] * level * Pluck(t, 0.15, 1.2) * 6.0);
    }
    Mix(rumble, crack, 0, 0.25);
    // The rumble dies away rather than stop while it still rolls.
    FadeOut(rumble, 1.4);
    return rumble;
}

TSignal Ufo()
{
    TSignal out = Tone(2.5, [](double t) { return 650.0 + 250.0 * std::sin(2 * Pi * 7 * t) + 150.0 * std::sin(2 * Pi * 0.4 * t); },
                       TWave::Sine, [](double t) { return std::min(1.0, t / 0.2) * std::min(1.0, (2.5 - t) / 0.4); });
    Mix(out, Tone(2.5, [](double t) { return 1300.0 + 500.0 * std::sin(2 * Pi * 7 * t); }, TWave::Sine,
                  [](double t) { return 0.2 * std::min(1.0, t / 0.2) * std::min(1.0, (2.5 - t) / 0.4); }), 0);
    return out;
}

TSignal Undo()
{
    // A dull thud: low, short, no brightness.
    TNoise noise(61);
    TSignal out = Tone(0.28, [](double t) { return 110.0 - 120.0 * t; }, TWave::Sine,
                       [](double t) { return Pluck(t, 0.002, 0.07); });
    TSignal body = Noise(0.1, noise);
    LowPass(body, 350);
    Shape(body, [](double t) { return Pluck(t, 0.001, 0.02); });
    Mix(out, body, 0, 2.0);
    return out;
}

TSignal Waste()
{
    // The waste gathered up: a falling swish.
    TNoise noise(67);
    TSignal out = Noise(0.5, noise);
    BandPass(out, [](double t) { return 6000.0 - 9000.0 * t; }, 1.5);
    Shape(out, [](double t) { return std::sin(Pi * t / 0.5); });
    return out;
}

TSignal Deal()
{
    // Cards flicked onto the table; it loops while a deal runs, so the gaps
    // at both ends add up to one gap.
    TNoise noise(71);
    TSignal out(std::size_t(Frames(0.6)), 0.0f);
    for (int i = 0; i < 5; ++i)
        Mix(out, Flick(noise, 0.07), 0.03 + i * 0.12, 0.8 + 0.2 * noise.Uniform());
    out.resize(std::size_t(Frames(0.6)));
    return out;
}

} // namespace

const std::vector<TSound>& ShortSounds()
{
    static const std::vector<TSound> sounds{
        {"congrat.wav", Congrat},   {"applause3.wav", Applause}, {"BEEPSPAC.wav", Beepspac},
        {"chime.wav", Chime},       {"spaced.wav", Spaced},      {"claps.wav", Claps},
        {"drag.wav", Drag},         {"drop.wav", Drop},          {"explosion.wav", Explosion},
        {"fanfare_x.wav", Fanfare}, {"Crystal_Whoosh_01.wav", Whoosh}, {"R2.wav", R2},
        {"ring.wav", Ring},         {"scream_x.wav", Scream},    {"shuffle.wav", Shuffle},
        {"success.wav", Success},   {"thunder_x.wav", Thunder},  {"ufo_x.wav", Ufo},
        {"undo.wav", Undo},         {"waste.wav", Waste},        {"deal.wav", Deal}};
    return sounds;
}

} // namespace synth
