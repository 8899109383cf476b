// Paints each page of a skin onto a memory context, as the window does on every repaint, and
// prints the time of the first paint (images decoded) and the median of the following ones, in
// milliseconds; and the time the five layout files take to load.
//
//   paint_bench.exe [skins folder] [repaints]    (default: the source tree's skins, 20)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "bench/performance_clock.h"
#include "settings/config_ini_file.h"
#include "settings/settings_state.h"
#include "ui/pages/page_state.h"
#include "ui/window/main_window.h"
#include "ui/window/main_window_globals.h"
#include "winlib/device_context.h"
#include "winlib/image_file.h"
#include "winlib/point_font.h"
#include "winlib/select_guard.h"
#include "winlib/wide.h"

namespace {

}  // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : KESTRA_SKINS_DIR;
    const int repaints = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
    g_skinFolder = std::u16string(folder.begin(), folder.end());
    g_configIniPath = g_skinFolder + u"\\config\\config.ini";
    g_languageEnglish = 1;
    LoadProfile(g_configIniPath, 1, false);
    g_fontEn = CreatePointFont(85, L"Arial");
    g_fontLarge = CreatePointFont(93, L"Arial");

    CTEV_KestraDlg window;
    const std::optional<ImageBitmap> mask = LoadImageBitmap(std::wstring(AsWide(g_skinFolder + u"\\main_mask.jpg")));
    if (!mask) {
        std::printf("no main_mask.jpg in %s\n", folder.c_str());
        return 1;
    }
    g_skinWidth = mask->width;
    g_skinHeight = mask->height;
    const double loadStart = NowMs();
    window.LoadSkinMainLayout();
    window.LoadSkinColorLayout();
    window.LoadSkinAdvanceLayout();
    window.LoadSkinMacroLayout();
    window.LoadWarningLayout();
    std::printf("five layout files loaded in %.1f ms\n", NowMs() - loadStart);

    ClientDc screen(nullptr);
    MemoryDc dc(screen.Get());
    BitmapOwner target(CreateCompatibleBitmap(screen.Get(), g_skinWidth, g_skinHeight));
    SelectGuard select(dc.Get(), target.Get());
    std::printf("skin %dx%d, %d repaints a page\n", g_skinWidth, g_skinHeight, repaints);
    for (uint8_t page = 0; page < kSkinPageCount; ++page) {
        g_page = page;
        double start = NowMs();
        window.PaintWindow(dc.Get());
        GdiFlush();
        const double first = NowMs() - start;
        std::vector<double> times;
        for (int i = 0; i < repaints; ++i) {
            start = NowMs();
            window.PaintWindow(dc.Get());
            GdiFlush();
            times.push_back(NowMs() - start);
        }
        std::sort(times.begin(), times.end());
        std::printf("page %u: first paint %.2f ms, repaint median %.2f ms (min %.2f, max %.2f)\n", page, first,
                    times[times.size() / 2], times.front(), times.back());
        std::fflush(stdout);
    }
    return 0;
}
