#include "shell/icon_data.h"

#include <windows.h>

#include "shell/resources.h"

namespace shell {

IconData ProgramIconData() {
    HRSRC resource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDR_ICON_DATA), RT_RCDATA);
    if (!resource) return {nullptr, 0};
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return {nullptr, 0};
    return {static_cast<const std::uint8_t*>(bytes), SizeofResource(nullptr, resource)};
}

}  // namespace shell
