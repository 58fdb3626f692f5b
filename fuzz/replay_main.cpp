// Runs a fuzz target over every file of the folders or files given on the
// command line, so that the seed corpus and saved reproducers replay in CI
// without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static void runFile(const std::filesystem::path &path, int &count)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    ++count;
}

int main(int argc, char **argv)
{
    int count = 0;
    // The empty input is always worth a run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        if (std::filesystem::is_directory(arg)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(arg))
                if (entry.is_regular_file())
                    runFile(entry.path(), count);
        } else if (std::filesystem::exists(arg)) {
            runFile(arg, count);
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
