// Feeds every file of the folders named on the command line to the target's entry function, as
// libFuzzer would, so that any build (gcc included) replays the corpus and the kept crash inputs.
// A folder after --if-present may be missing (a target without kept crashes has none).

#include "FuzzSupport.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::vector<fs::path> files;
    bool optional = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--if-present") {
            optional = true;
            continue;
        }
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            std::vector<fs::path> found;
            for (const auto& entry : fs::directory_iterator(arg)) {
                if (entry.is_regular_file()) {
                    found.push_back(entry.path());
                }
            }
            std::sort(found.begin(), found.end());
            files.insert(files.end(), found.begin(), found.end());
        } else if (fs::is_regular_file(arg, ec)) {
            files.emplace_back(arg);
        } else if (!optional) {
            std::cerr << "no such input: " << arg << '\n';
            return 1;
        }
        optional = false;
    }
    if (files.empty()) {
        std::cerr << "no inputs to replay\n";
        return 1;
    }
    for (const fs::path& file : files) {
        std::ifstream in(file, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                      std::istreambuf_iterator<char>()};
        if (!in.eof() && in.fail()) {
            std::cerr << "cannot read " << file << '\n';
            return 1;
        }
        std::cerr << "replaying " << file.string() << '\n';
        // A heap copy of the exact size, so that ASan sees any read past the end.
        std::vector<std::uint8_t> input(bytes.begin(), bytes.end());
        LLVMFuzzerTestOneInput(input.data(), input.size());
    }
    std::cout << "replayed " << files.size() << " inputs\n";
    return 0;
}
