// The resources of an executable, read as data (LOAD_LIBRARY_AS_DATAFILE runs none of its code):
// icon groups with their images, bitmaps, and the version strings.
#include <windows.h>

#include <cstring>

#include "commands.h"
#include "failure.h"
#include "text.h"

namespace driver {
namespace {

// The wide forms of RT_ICON, RT_BITMAP and RT_GROUP_ICON (the driver is built without UNICODE).
const LPCWSTR icon_type = MAKEINTRESOURCEW(3);
const LPCWSTR bitmap_type = MAKEINTRESOURCEW(2);
const LPCWSTR group_icon_type = MAKEINTRESOURCEW(14);

class DataModule {
public:
    explicit DataModule(const std::string& utf8_path)
        : module_(LoadLibraryExW(wide_from_utf8(utf8_path).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (!module_) fail("cannot load " + utf8_path + ": error " + std::to_string(GetLastError()));
    }
    ~DataModule() { FreeLibrary(module_); }
    DataModule(const DataModule&) = delete;
    DataModule& operator=(const DataModule&) = delete;

    HMODULE get() const { return module_; }

    std::string bytes(LPCWSTR type, LPCWSTR name) const {
        const HRSRC found = FindResourceW(module_, name, type);
        if (!found) fail("a resource is missing");
        const auto* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
        return std::string(data, SizeofResource(module_, found));
    }

private:
    HMODULE module_;
};

std::string name_of(LPCWSTR name) {
    return IS_INTRESOURCE(name) ? std::to_string(reinterpret_cast<ULONG_PTR>(name))
                                : json_string(utf8_from_wide(name));
}

BOOL CALLBACK collect_name(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR param) {
    auto* list = reinterpret_cast<std::vector<std::wstring>*>(param);
    // Numbers are kept as "#n" so that they survive the copy.
    list->push_back(IS_INTRESOURCE(name) ? L"#" + std::to_wstring(reinterpret_cast<ULONG_PTR>(name)) : name);
    return TRUE;
}

// Names in the order the resource directory holds them: the first icon group is the one the
// shell shows for the file.
std::vector<std::wstring> names(HMODULE module, LPCWSTR type) {
    std::vector<std::wstring> out;
    EnumResourceNamesW(module, type, collect_name, reinterpret_cast<LONG_PTR>(&out));
    return out;
}

LPCWSTR as_name(const std::wstring& stored) {
    return stored[0] == L'#' ? MAKEINTRESOURCEW(std::stoi(stored.substr(1))) : stored.c_str();
}

template <class T>
T at(const std::string& data, size_t offset) {
    if (offset + sizeof(T) > data.size()) fail("a resource is shorter than its header");
    T value;
    std::memcpy(&value, data.data() + offset, sizeof value);
    return value;
}

// A BITMAPINFOHEADER as JSON fields. An icon image holds its mask below the colours: its
// height is twice the icon's.
std::string header_fields(const std::string& data) {
    const auto header = at<BITMAPINFOHEADER>(data, 0);
    return "\"width\":" + std::to_string(header.biWidth) + ",\"height\":" + std::to_string(header.biHeight) +
           ",\"bpp\":" + std::to_string(header.biBitCount);
}

#pragma pack(push, 2)
struct GroupEntry { // GRPICONDIRENTRY
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

std::string icon_group(const DataModule& module, const std::wstring& name) {
    const std::string group = module.bytes(group_icon_type, as_name(name));
    const WORD count = at<WORD>(group, 4);
    std::string images = "[";
    for (WORD i = 0; i < count; ++i) {
        const auto entry = at<GroupEntry>(group, 6 + i * sizeof(GroupEntry));
        const std::string image = module.bytes(icon_type, MAKEINTRESOURCEW(entry.id));
        images += std::string(i ? "," : "") + "{\"entry_width\":" + std::to_string(entry.width) +
                  ",\"entry_height\":" + std::to_string(entry.height) +
                  ",\"entry_colours\":" + std::to_string(entry.colours) + "," + header_fields(image) + "}";
    }
    return "{\"name\":" + name_of(as_name(name)) + ",\"images\":" + images + "]}";
}

// The version strings of the first translation, through version.dll loaded at run time
// (the driver links no version library).
std::string version_strings(const std::string& utf8_path) {
    const HMODULE dll = LoadLibraryA("version.dll");
    using Size = DWORD(WINAPI*)(LPCWSTR, LPDWORD);
    using Info = BOOL(WINAPI*)(LPCWSTR, DWORD, DWORD, LPVOID);
    using Query = BOOL(WINAPI*)(LPCVOID, LPCWSTR, LPVOID*, PUINT);
    const auto size_of = reinterpret_cast<Size>(reinterpret_cast<void*>(GetProcAddress(dll, "GetFileVersionInfoSizeW")));
    const auto info_of = reinterpret_cast<Info>(reinterpret_cast<void*>(GetProcAddress(dll, "GetFileVersionInfoW")));
    const auto query = reinterpret_cast<Query>(reinterpret_cast<void*>(GetProcAddress(dll, "VerQueryValueW")));
    if (!size_of || !info_of || !query) fail("version.dll lacks its functions");
    const std::wstring path = wide_from_utf8(utf8_path);
    DWORD ignored = 0;
    std::string block(size_of(path.c_str(), &ignored), '\0');
    if (block.empty() || !info_of(path.c_str(), 0, static_cast<DWORD>(block.size()), block.data()))
        return "null";
    WORD* translation = nullptr;
    UINT length = 0;
    if (!query(block.data(), L"\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length) ||
        length < 4)
        fail("the version information has no translation");
    wchar_t language[16];
    wsprintfW(language, L"%04x%04x", translation[0], translation[1]);
    const std::wstring prefix = std::wstring(L"\\StringFileInfo\\") + language + L"\\";
    std::string out = "{\"translation\":" + json_string(utf8_from_wide(language));
    for (const wchar_t* key : {L"ProductName", L"ProductVersion", L"FileVersion", L"LegalCopyright"}) {
        wchar_t* value = nullptr;
        UINT chars = 0;
        const std::wstring where = prefix + key;
        const bool found = query(block.data(), where.c_str(), reinterpret_cast<void**>(&value), &chars) && value;
        out += ",";
        out += json_string(utf8_from_wide(key)) + ":" + (found ? json_string(utf8_from_wide(value)) : "null");
    }
    return out + "}";
}

// resources EXE -> {"icons":[...], "bitmaps":[...], "version":{...}} as JSON.
void resources(const Args& args) {
    const DataModule module(args[0]);
    std::string icons = "[";
    for (const auto& name : names(module.get(), group_icon_type)) {
        if (icons.size() > 1) icons += ",";
        icons += icon_group(module, name);
    }
    std::string bitmaps = "[";
    for (const auto& name : names(module.get(), bitmap_type)) {
        if (bitmaps.size() > 1) bitmaps += ",";
        bitmaps += "{\"name\":";
        bitmaps += name_of(as_name(name)) + "," + header_fields(module.bytes(bitmap_type, as_name(name))) + "}";
    }
    print_line("{\"icons\":" + icons + "],\"bitmaps\":" + bitmaps + "],\"version\":" + version_strings(args[0]) + "}");
}

const std::vector<Command> commands = {
    {"resources", "EXE_WINDOWS_PATH  -> icon groups, bitmaps and version strings, as JSON", 1, 1, resources},
};

} // namespace

const std::vector<Command>& resource_commands() { return commands; }

} // namespace driver
