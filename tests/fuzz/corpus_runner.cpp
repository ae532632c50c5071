// Runs a fuzz target over every file of its stored corpus, so the corpus is exercised without clang.
// Arguments are corpus directories or single input files; each input's name is printed before it
// runs, so a failing one is named in the log. A missing argument or an empty directory fails.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

void RunOne(const std::filesystem::path &File)
{
    std::fprintf(stderr, "input %s\n", File.c_str());
    std::ifstream in(File, std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
}

} // namespace

int main(int argc, char **argv)
{
    // A corpus that is missing or empty tests nothing: that is a failure, not a pass.
    if (argc < 2) {
        std::fprintf(stderr, "no corpus given\n");
        return 1;
    }
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path path(argv[i]);
        if (std::filesystem::is_regular_file(path)) {
            RunOne(path);
            ++count;
            continue;
        }
        if (!std::filesystem::is_directory(path)) {
            std::fprintf(stderr, "corpus %s does not exist\n", path.c_str());
            return 1;
        }
        std::vector<std::filesystem::path> files;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(path))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (files.empty()) {
            std::fprintf(stderr, "corpus %s holds no inputs\n", path.c_str());
            return 1;
        }
        std::sort(files.begin(), files.end());
        for (const auto &file : files) {
            RunOne(file);
            ++count;
        }
    }
    std::printf("%d corpus inputs ran\n", count);
    return 0;
}
