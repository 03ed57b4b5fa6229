#include "tests/import_patch.h"

#include <cstring>

namespace {

template <typename T>
T* At(BYTE* base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

ULONG_PTR* FindImportSlot(const char* library, const char* function) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleW(nullptr));
    auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(base);
    auto* nt = At<IMAGE_NT_HEADERS>(base, static_cast<DWORD>(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); descriptor->Name; ++descriptor) {
        if (lstrcmpiA(At<char>(base, descriptor->Name), library) != 0) continue;
        auto* names = At<IMAGE_THUNK_DATA>(base, descriptor->OriginalFirstThunk);
        auto* slots = At<IMAGE_THUNK_DATA>(base, descriptor->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            auto* byName = At<IMAGE_IMPORT_BY_NAME>(base, static_cast<DWORD>(names->u1.AddressOfData));
            if (std::strcmp(reinterpret_cast<const char*>(byName->Name), function) == 0)
                return reinterpret_cast<ULONG_PTR*>(&slots->u1.Function);
        }
    }
    return nullptr;
}

}  // namespace

ImportPatch::ImportPatch(const char* library, const char* function, const void* replacement)
    : slot_(FindImportSlot(library, function)) {
    if (!slot_) return;
    original_ = *slot_;
    Write(reinterpret_cast<ULONG_PTR>(replacement));
}

ImportPatch::~ImportPatch() {
    if (slot_) Write(original_);
}

void ImportPatch::Write(ULONG_PTR value) {
    DWORD protection = 0;
    VirtualProtect(slot_, sizeof *slot_, PAGE_READWRITE, &protection);
    *slot_ = value;
    VirtualProtect(slot_, sizeof *slot_, protection, &protection);
}
