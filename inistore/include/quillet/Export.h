#pragma once

// The library is built with hidden visibility; only what carries QUILLET_EXPORT is part of the
// shared library's interface.
#if defined(QUILLET_BUILDING)
#define QUILLET_EXPORT __attribute__((visibility("default")))
#else
#define QUILLET_EXPORT
#endif

namespace quillet::detail {
// The library's own door into the collections: creates them and runs the operations that only
// the library may call (binding to a file, loading). Not defined in the public headers.
struct Access;

// Lets the library construct its objects with std::make_shared while nobody else can construct
// them at all. The constructor is user-provided so that Key{} is no aggregate in C++17 either.
class Key
{
    Key() {}
    friend struct Access;
};
} // namespace quillet::detail
