#include "drop_files.h"

#include <shellapi.h>

namespace pelto::win {

std::vector<std::string> TakeDroppedFiles(HDROP drop)
{
    struct Release {
        HDROP h;
        ~Release() { DragFinish(h); }
    } release{drop};

    std::vector<std::string> paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        // Ask the length first: a fixed 256-byte buffer would cut longer paths.
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        std::string path(length + 1, '\0');
        const UINT got = DragQueryFileA(drop, i, path.data(), length + 1);
        path.resize(got <= length ? got : length);
        paths.push_back(std::move(path));
    }
    return paths;
}

} // namespace pelto::win
