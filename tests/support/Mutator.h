#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Mutations for the file readers' fuzz tests: each call damages a valid
// file a little (a few bytes changed, inserted, removed or repeated, a cut,
// a length field made huge), the way a crash, a disk or a hand editor might.
namespace fuzz {

class TMutator {
public:
    explicit TMutator(std::uint32_t seed) : Random(seed) {}

    std::string Mutate(const std::string& original)
    {
        std::string bytes = original;
        const int rounds = 1 + Below(4);
        for (int i = 0; i < rounds; ++i)
            MutateOnce(bytes);
        return bytes;
    }

private:
    int Below(int n) { return n <= 0 ? 0 : int(Random() % std::uint32_t(n)); }
    std::size_t At(const std::string& bytes) { return bytes.empty() ? 0 : std::size_t(Below(int(bytes.size()))); }
    char AnyByte() { return char(Below(256)); }

    void MutateOnce(std::string& bytes)
    {
        static const char interesting[] = {0, 1, 2, 3, 4, 6, 7, 8, 9, 11, 12, 20, '\r', '\n', char(0x7F),
                                           char(0x80), char(0xFF)};
        switch (Below(8)) {
        case 0:
            if (!bytes.empty())
                bytes[At(bytes)] = AnyByte();
            break;
        case 1:
            if (!bytes.empty())
                bytes[At(bytes)] = interesting[Below(int(sizeof interesting))];
            break;
        case 2:
            bytes.insert(bytes.begin() + std::ptrdiff_t(At(bytes)), AnyByte());
            break;
        case 3:
            if (!bytes.empty()) {
                const std::size_t from = At(bytes);
                bytes.erase(from, std::size_t(1 + Below(8)));
            }
            break;
        case 4:
            bytes.resize(At(bytes));
            break;
        case 5:
            if (!bytes.empty()) {
                const std::size_t from = At(bytes);
                bytes.insert(At(bytes), bytes.substr(from, std::size_t(1 + Below(16))));
            }
            break;
        case 6:
            // A four-byte length made huge or negative.
            if (bytes.size() >= 4) {
                const std::size_t from = At(bytes);
                for (std::size_t k = 0; k < 4 && from + k < bytes.size(); ++k)
                    bytes[from + k] = k == 3 ? char(0x7F + Below(2) * 0x80) : char(0xFF);
            }
            break;
        default:
            if (!bytes.empty())
                bytes[At(bytes)] ^= char(1 << Below(8));
            break;
        }
    }

    std::mt19937 Random;
};

} // namespace fuzz
