// Replays a fuzz target's stored inputs without libFuzzer: every file of the folders named on the
// command line (the target's starting inputs and the inputs of crashes fixed since, kept beside it) is
// handed to LLVMFuzzerTestOneInput once. A crash, an abort or a sanitizer report fails the run; so
// does a folder that is missing or empty, so that a corpus moved away cannot pass unnoticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s CORPUS_FOLDER...\n", argv[0]);
        return 2;
    }
    int replayed = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code ec;
        std::vector<std::filesystem::path> files;
        for (const auto& entry : std::filesystem::directory_iterator(argv[i], ec))
            if (entry.is_regular_file())
                files.push_back(entry.path());
        if (ec || files.empty()) {
            std::fprintf(stderr, "%s: no inputs to replay in \"%s\"\n", argv[0], argv[i]);
            return 1;
        }
        // In name order, so that a failure names the same input on every run.
        std::sort(files.begin(), files.end());
        for (const auto& file : files) {
            std::ifstream in(file, std::ios::binary);
            const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            if (!in.good() && !in.eof()) {
                std::fprintf(stderr, "%s: cannot read \"%s\"\n", argv[0], file.c_str());
                return 1;
            }
            // The input's name first: if it crashes, the log says which one.
            std::fprintf(stderr, "replaying %s\n", file.c_str());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
            ++replayed;
        }
    }
    std::printf("%d inputs replayed\n", replayed);
    return 0;
}
