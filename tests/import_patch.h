// Points one imported function of this test program at a replacement while the object lives,
// for calls whose effect Wine does not let a test read back.
#pragma once

#include <windows.h>

class ImportPatch {
public:
    ImportPatch(const char* library, const char* function, const void* replacement);
    ~ImportPatch();
    ImportPatch(const ImportPatch&) = delete;
    ImportPatch& operator=(const ImportPatch&) = delete;

    bool active() const { return slot_ != nullptr; }
    template <typename Fn>
    Fn original() const {
        return reinterpret_cast<Fn>(original_);
    }

private:
    void Write(ULONG_PTR value);

    ULONG_PTR* slot_ = nullptr;
    ULONG_PTR original_ = 0;
};
