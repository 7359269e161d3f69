// Writes the program's sounds into <folder>: gensounds <folder>
#include "Sounds.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::cerr << "usage: gensounds <folder>\n";
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    for (const synth::TSound& sound : synth::ShortSounds()) {
        synth::TSignal signal = sound.Make();
        synth::Normalise(signal);
        if (!synth::WriteWav(folder / sound.File, signal)) {
            std::cerr << "gensounds: cannot write " << (folder / sound.File) << "\n";
            return 1;
        }
    }
    for (const synth::TSound& piece : synth::Music()) {
        synth::TSignal signal = piece.Make();
        synth::Normalise(signal);
        if (!synth::WriteMp3(folder / piece.File, signal)) {
            std::cerr << "gensounds: cannot encode " << (folder / piece.File) << "\n";
            return 1;
        }
    }
    return 0;
}
