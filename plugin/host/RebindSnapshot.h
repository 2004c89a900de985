// Re-creating a plug-in object in place after its library was closed and opened again.
//
// The object's memory survives in the host's globals slot, but its pointer to the table of virtual
// operations points into the old mapping of the library. The object is re-created in the same storage
// by a constructor of the current code, which takes each field's value from a byte copy of the storage
// made just before. The stale object is never used as a typed object (not even to read a field), so
// nothing reads through its old table, and every field is copied as the bytes of a trivially copyable
// value, which keeps its value.
#pragma once

#include <cstddef>
#include <cstring>
#include <new>
#include <type_traits>

namespace curvicraft {

class RebindSnapshot {
public:
    RebindSnapshot(const void* storage, const unsigned char* bytes) noexcept : storage_(storage), bytes_(bytes) {}

    // Gives `field`, a member of the object being constructed in the storage, the value it held there.
    template <class T>
    void restore(T& field) const noexcept
    {
        static_assert(std::is_trivially_copyable_v<T>, "only trivially copyable fields survive a rebind");
        const auto offset = reinterpret_cast<const unsigned char*>(&field) - static_cast<const unsigned char*>(storage_);
        std::memcpy(&field, bytes_ + offset, sizeof(T));
    }

private:
    const void* storage_;
    const unsigned char* bytes_;
};

// Re-creates the object of class P that lives at `storage` with the code now loaded, keeping its fields.
// P must have a noexcept constructor taking a RebindSnapshot that restores every field.
template <class P>
P* rebindInPlace(void* storage) noexcept
{
    static_assert(std::is_nothrow_constructible_v<P, const RebindSnapshot&>);
    alignas(P) unsigned char bytes[sizeof(P)];
    std::memcpy(bytes, storage, sizeof(P));
    return ::new (storage) P(RebindSnapshot(storage, bytes));
}

} // namespace curvicraft
