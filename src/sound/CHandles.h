// Owning handles for the C objects of the sound libraries.
#pragma once

#include <memory>

namespace kalvintor::sound {

// A std::unique_ptr that frees its object with the library's own function.
template <typename T, void (*Free)(T*)>
struct CDeleter {
    void operator()(T* p) const {
        if (p != nullptr) Free(p);
    }
};

template <typename T, void (*Free)(T*)>
using CHandle = std::unique_ptr<T, CDeleter<T, Free>>;

}  // namespace kalvintor::sound
