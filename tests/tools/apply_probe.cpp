// apply_probe PROGRAM_FOLDER: the device traffic of one apply of that folder's configuration,
// and the mouse's memory after it (format in apply_probe_run.h).
#include <cstdio>
#include <filesystem>

#include "tests/tools/apply_probe_run.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: apply_probe PROGRAM_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    if (!std::filesystem::is_directory(folder)) {
        std::fprintf(stderr, "apply_probe: %s is not a folder\n", argv[1]);
        return 2;
    }
    const std::string out = RunApplyProbe(folder.u16string());
    std::fwrite(out.data(), 1, out.size(), stdout);
    return 0;
}
