// Runs a fuzz target once on every file of the folders (or files) given on the command line,
// without libFuzzer: the corpus and the saved findings become an ordinary test. A folder that
// does not exist counts as empty; the first argument must give at least one input, so a wrong
// corpus path cannot pass unnoticed.
#include "FuzzCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> inputsOf(const fs::path& path)
{
    std::vector<fs::path> files;
    std::error_code ec;
    if (fs::is_regular_file(path, ec)) {
        files.push_back(path);
    } else if (fs::is_directory(path, ec)) {
        for (const auto& entry : fs::directory_iterator(path, ec)) {
            if (entry.is_regular_file() && entry.path().filename().string()[0] != '.')
                files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <corpus folder> [<folder or file>...]\n", argv[0]);
        return 2;
    }
    std::size_t total = 0;
    for (int i = 1; i < argc; ++i) {
        const auto files = inputsOf(argv[i]);
        if (i == 1 && files.empty()) {
            std::fprintf(stderr, "no inputs in %s\n", argv[i]);
            return 1;
        }
        for (const fs::path& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                                   std::istreambuf_iterator<char>());
            if (!in.eof() && in.fail()) {
                std::fprintf(stderr, "cannot read %s\n", file.string().c_str());
                return 1;
            }
            std::fprintf(stderr, "%s\n", file.string().c_str());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++total;
        }
    }
    std::printf("%zu inputs replayed\n", total);
    return 0;
}
