// Runs a fuzz target without libFuzzer: the seed inputs, then a fixed number of
// deterministic mutations of them, so that `make check` repeats the same run.
//
//   NAME_mutation ITERATIONS [SEED_DIR]
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

using Bytes = std::vector<uint8_t>;

std::vector<Bytes> readSeeds(const char* dir)
{
    std::vector<Bytes> seeds;
    if (dir != nullptr && std::filesystem::is_directory(dir)) {
        std::vector<std::filesystem::path> paths;
        for (const auto& entry : std::filesystem::directory_iterator(dir))
            if (entry.is_regular_file())
                paths.push_back(entry.path());
        std::sort(paths.begin(), paths.end());
        for (const auto& path : paths) {
            std::ifstream in(path, std::ios::binary);
            seeds.emplace_back(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    }
    if (seeds.empty())
        seeds.push_back(Bytes{});
    return seeds;
}

void mutate(Bytes& data, std::mt19937& rng)
{
    const int edits = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < edits; ++i) {
        const size_t size = data.size();
        switch (rng() % 6) {
        case 0: // flip a bit
            if (size) data[rng() % size] ^= static_cast<uint8_t>(1u << (rng() % 8));
            break;
        case 1: // set a byte to an interesting value
            if (size) {
                static const uint8_t interesting[] = {0, 1, 0x7F, 0x80, 0xFF, 0x20, 0x0D, 0x0A, 0xF0};
                data[rng() % size] = interesting[rng() % sizeof interesting];
            }
            break;
        case 2: // insert a random byte
            data.insert(data.begin() + (size ? rng() % (size + 1) : 0), static_cast<uint8_t>(rng()));
            break;
        case 3: // delete a run
            if (size) {
                const size_t at = rng() % size;
                const size_t len = 1 + rng() % std::min<size_t>(16, size - at);
                data.erase(data.begin() + at, data.begin() + at + len);
            }
            break;
        case 4: // truncate
            if (size) data.resize(rng() % size);
            break;
        case 5: // duplicate a run
            if (size) {
                const size_t at = rng() % size;
                const size_t len = 1 + rng() % std::min<size_t>(32, size - at);
                Bytes run(data.begin() + at, data.begin() + at + len);
                data.insert(data.begin() + rng() % (size + 1), run.begin(), run.end());
            }
            break;
        }
    }
}

} // namespace

int main(int argc, char** argv)
{
    const long iterations = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 10000;
    const std::vector<Bytes> seeds = readSeeds(argc > 2 ? argv[2] : nullptr);
    for (const Bytes& seed : seeds)
        LLVMFuzzerTestOneInput(seed.data(), seed.size());
    std::mt19937 rng(12345);
    for (long i = 0; i < iterations; ++i) {
        Bytes input = seeds[rng() % seeds.size()];
        mutate(input, rng);
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::printf("%ld mutated inputs from %zu seeds: no crash\n", iterations, seeds.size());
    return 0;
}
