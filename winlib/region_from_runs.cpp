#include "winlib/region_from_runs.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "winlib/win32_failure.h"

RegionOwner RegionFromRuns(std::span<const PixelRun> runs)
{
    if (runs.empty()) return RegionOwner(CreateRectRgn(0, 0, 0, 0));
    RECT bounds{runs.front().left, runs.front().y, runs.front().right, runs.front().y + 1};
    for (const PixelRun& run : runs) {
        bounds.left = std::min<LONG>(bounds.left, run.left);
        bounds.right = std::max<LONG>(bounds.right, run.right);
        bounds.top = std::min<LONG>(bounds.top, run.y);
        bounds.bottom = std::max<LONG>(bounds.bottom, run.y + 1);
    }
    // RGNDATA: a header, then the rectangles.
    std::vector<uint8_t> data(sizeof(RGNDATAHEADER) + runs.size() * sizeof(RECT));
    RGNDATAHEADER header{};
    header.dwSize = sizeof(RGNDATAHEADER);
    header.iType = RDH_RECTANGLES;
    header.nCount = static_cast<DWORD>(runs.size());
    header.nRgnSize = static_cast<DWORD>(runs.size() * sizeof(RECT));
    header.rcBound = bounds;
    std::memcpy(data.data(), &header, sizeof(header));
    uint8_t* out = data.data() + sizeof(RGNDATAHEADER);
    for (const PixelRun& run : runs) {
        const RECT rect{run.left, run.y, run.right, run.y + 1};
        std::memcpy(out, &rect, sizeof(rect));
        out += sizeof(rect);
    }
    HRGN region = ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()), reinterpret_cast<const RGNDATA*>(data.data()));
    if (region == nullptr) RecordWin32Failure("ExtCreateRegion");
    return RegionOwner(region);
}
