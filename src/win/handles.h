// Owning wrappers for the GDI and USER handles the windows keep.
#pragma once
#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <type_traits>

namespace pelto::win {

struct FontDeleter {
    void operator()(HFONT h) const { DeleteObject(h); }
};
struct BitmapDeleter {
    void operator()(HBITMAP h) const { DeleteObject(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { DestroyMenu(h); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST h) const { ImageList_Destroy(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { DestroyIcon(h); }
};

using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, FontDeleter>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;
using ImageList = std::unique_ptr<std::remove_pointer_t<HIMAGELIST>, ImageListDeleter>;
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

} // namespace pelto::win
