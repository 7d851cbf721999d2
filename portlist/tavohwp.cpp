// GetComPortList over the port map. The library keeps no state: every call
// reads the map afresh.

#include "portlist/tavohwp.h"

#include <cstdlib>
#include <cstring>
#include <limits>
#include <new>
#include <string>
#include <vector>

#include "link/PortMap.h"

namespace {

bool IsUsableArray(const TavoStringArray* a) {
    if (a->dimensions != 1) return false;
    if (a->elementType != TAVO_ELEMENT_STRING && a->elementType != TAVO_ELEMENT_UNSET) return false;
    return a->count == 0 || a->elements != nullptr;
}

// Grows the array to exactly count elements, keeping its lower bound.
bool GrowTo(TavoStringArray* a, std::size_t count) {
    if (count <= a->count) return true;
    if (count > std::numeric_limits<std::uint32_t>::max()) return false;
    std::int64_t upper = static_cast<std::int64_t>(a->lowerBound) + static_cast<std::int64_t>(count) - 1;
    if (upper > std::numeric_limits<std::int32_t>::max()) return false;
    void* grown = std::realloc(a->elements, count * sizeof(char*));
    if (!grown) return false;
    a->elements = static_cast<char**>(grown);
    for (std::size_t i = a->count; i < count; ++i) a->elements[i] = nullptr;
    a->count = static_cast<std::uint32_t>(count);
    return true;
}

// Replaces element offset with a copy of text; the earlier string is released.
bool Store(TavoStringArray* a, std::size_t offset, const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (!copy) return false;
    std::memcpy(copy, text.c_str(), text.size() + 1);
    std::free(a->elements[offset]);
    a->elements[offset] = copy;
    return true;
}

std::int32_t ListInto(TavoStringArray* a) {
    std::vector<tavo::PortMapEntry> ports;
    tavo::PortMapStatus status = tavo::ListPortMap(ports);
    if (status == tavo::PortMapStatus::SourceUnreadable) return TAVO_PORTLIST_SOURCE_UNREADABLE;
    const std::int32_t failure = status == tavo::PortMapStatus::Ok ? 0 : TAVO_PORTLIST_ENTRY_UNREADABLE;
    // No port: the caller's array stays exactly as it was.
    if (ports.empty()) return failure;

    if (!GrowTo(a, ports.size())) return TAVO_PORTLIST_NO_MEMORY;
    // The entries read before a failing one are written, as far as they go.
    for (std::size_t i = 0; i < ports.size(); ++i)
        if (!Store(a, i, ports[i].name)) return TAVO_PORTLIST_NO_MEMORY;
    if (failure != 0) return failure;

    for (std::size_t i = ports.size(); i < a->count; ++i) {
        std::free(a->elements[i]);
        a->elements[i] = nullptr;
    }
    return static_cast<std::int32_t>(ports.size());
}

}  // namespace

extern "C" __attribute__((visibility("default"))) std::int32_t GetComPortList(TavoStringArray** ports) {
    if (!ports || !*ports || !IsUsableArray(*ports)) return TAVO_PORTLIST_BAD_ARGUMENT;
    // Nothing may unwind through a C caller.
    try {
        return ListInto(*ports);
    } catch (const std::bad_alloc&) {
        return TAVO_PORTLIST_NO_MEMORY;
    } catch (...) {
        return TAVO_PORTLIST_ENTRY_UNREADABLE;
    }
}
