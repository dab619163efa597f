// Deterministic mutations of a valid input, for the mutation tests: byte
// flips, bytes set to edge values, inserted and removed runs, truncation,
// and 32-bit words overwritten with hostile lengths. The seed fixes the run.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace hosttest {

class Mutator {
public:
    explicit Mutator(std::uint32_t seed) : rng_(seed) {}

    std::string Mutate(const std::string& valid) {
        std::string s = valid;
        const int rounds = 1 + static_cast<int>(Below(4));
        for (int r = 0; r < rounds; ++r) MutateOnce(s);
        return s;
    }

private:
    std::uint32_t Below(std::uint32_t n) { return n ? std::uniform_int_distribution<std::uint32_t>(0, n - 1)(rng_) : 0; }

    void MutateOnce(std::string& s) {
        static constexpr std::uint32_t kWords[] = {0, 1, 2, 3, 4, 0x7F, 0x80, 0xFF, 0xFFFE, 0xFFFF, 0x10000,
                                                   0x7FFFFFFF, 0x80000000, 0xFFFFFFF0, 0xFFFFFFFE, 0xFFFFFFFF};
        const std::size_t n = s.size();
        switch (Below(8)) {
            case 0:
                if (n) s[Below(static_cast<std::uint32_t>(n))] ^= static_cast<char>(1u << Below(8));
                break;
            case 1:
                if (n) s[Below(static_cast<std::uint32_t>(n))] = static_cast<char>(Below(2) ? 0xFF : 0x00);
                break;
            case 2:
                if (n) s[Below(static_cast<std::uint32_t>(n))] = static_cast<char>(Below(256));
                break;
            case 3:
                s.resize(Below(static_cast<std::uint32_t>(n + 1)));
                break;
            case 4: {
                const std::size_t at = Below(static_cast<std::uint32_t>(n + 1));
                s.insert(at, std::string(1 + Below(16), static_cast<char>(Below(256))));
                break;
            }
            case 5:
                if (n) {
                    const std::size_t at = Below(static_cast<std::uint32_t>(n));
                    s.erase(at, 1 + Below(16));
                }
                break;
            case 6:
                if (n >= 4) {
                    const std::size_t at = Below(static_cast<std::uint32_t>(n - 3));
                    const std::uint32_t w = kWords[Below(sizeof(kWords) / sizeof(kWords[0]))];
                    for (int i = 0; i < 4; ++i) s[at + i] = static_cast<char>(w >> (8 * i));
                }
                break;
            default:
                if (n >= 2) {
                    const std::size_t at = Below(static_cast<std::uint32_t>(n - 1));
                    const std::uint16_t w = static_cast<std::uint16_t>(kWords[Below(sizeof(kWords) / sizeof(kWords[0]))]);
                    s[at] = static_cast<char>(w);
                    s[at + 1] = static_cast<char>(w >> 8);
                }
                break;
        }
    }

    std::mt19937 rng_;
};

inline constexpr int kMutationsPerReader = 100000;

}  // namespace hosttest
