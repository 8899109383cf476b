// The start-up's reads of config.ini (the [Init] section, the check that the current profile is
// there, the profile load) through the platform's profile functions, each section read whole
// as the program does and, for comparison, key by key; prints the median of each in
// milliseconds.
//
//   profile_load_bench.exe [config.ini] [rounds]    (default: the source tree's, 20)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/performance_clock.h"
#include "settings/config_ini_file.h"
#include "settings/profile_store.h"
#include "settings/settings_state.h"

namespace {

// The file without its section reader: every key is one profile-string call.
class KeyByKey : public IniSource {
public:
    explicit KeyByKey(IniSource& file) : file_(file) {}
    size_t GetString(const std::u16string& section, const std::u16string& key, std::span<char16_t> buffer) override
    {
        return file_.GetString(section, key, buffer);
    }
    bool PutString(const std::u16string& section, const std::u16string& key, const std::u16string& value) override
    {
        return file_.PutString(section, key, value);
    }

private:
    IniSource& file_;
};

void StartUpReads(IniSource& ini)
{
    LoadInitSection(ini);
    HoldsProfile(ini, ProfileSectionName(false, static_cast<int>(g_curConfig)));
    LoadProfile(ini, static_cast<int>(g_curConfig), false);
}

double MedianMs(IniSource& ini, int rounds)
{
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const double start = NowMs();
        StartUpReads(ini);
        times.push_back(NowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv)
{
    const std::string path = argc > 1 ? argv[1] : KESTRA_CONFIG_INI;
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    ConfigIniFile file(std::u16string(path.begin(), path.end()));
    KeyByKey keyByKey(file);
    StartUpReads(file);  // the platform's first open of the file is left out
    const double sections = MedianMs(file, rounds);
    const double keys = MedianMs(keyByKey, rounds);
    std::printf("start-up reads of %s, median of %d: sections whole %.2f ms, key by key %.2f ms\n", path.c_str(), rounds,
                sections, keys);
    return 0;
}
