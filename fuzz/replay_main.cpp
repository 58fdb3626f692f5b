// Runs a fuzz target over every file of the folders or files given on the
// command line, so that the seed corpus and saved reproducers replay in CI
// without libFuzzer. A path that is missing, a folder without a file and a
// file that cannot be read fail the run: a corpus renamed or emptied would
// otherwise replay nothing and pass.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

static bool runFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in.is_open()) {
        std::fprintf(stderr, "cannot read %s\n", path.string().c_str());
        return false;
    }
    std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
}

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_OR_FILE...\n", argv[0]);
        return 2;
    }
    int count = 0;
    bool failed = false;
    // The empty input is always worth a run.
    LLVMFuzzerTestOneInput(nullptr, 0);
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path arg(argv[i]);
        std::error_code error;
        int found = 0;
        if (std::filesystem::is_directory(arg, error)) {
            for (const auto &entry : std::filesystem::recursive_directory_iterator(arg, error)) {
                if (!entry.is_regular_file())
                    continue;
                ++found;
                if (runFile(entry.path()))
                    ++count;
                else
                    failed = true;
            }
        } else if (std::filesystem::is_regular_file(arg, error)) {
            found = 1;
            if (runFile(arg))
                ++count;
            else
                failed = true;
        }
        if (error) {
            std::fprintf(stderr, "%s: %s\n", argv[i], error.message().c_str());
            failed = true;
        } else if (found == 0) {
            std::fprintf(stderr, "%s: no input there (missing or empty)\n", argv[i]);
            failed = true;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return failed ? 1 : 0;
}
