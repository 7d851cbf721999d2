#ifndef TAVO_PORTLIST_TAVOHWP_H
#define TAVO_PORTLIST_TAVOHWP_H
/*
 * The serial port list library libtavohwp.so: one entry point, GetComPortList,
 * that fills a caller's string array with the configured port names ("COM1",
 * "COM3", ...) in ascending port number, as the port map lists them.
 *
 * Usable from C and C++. The array type and its helpers are plain C so that a
 * caller on either side of the library boundary handles it the same way; both
 * sides share the C allocator (malloc/free).
 */

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Element types an array may declare; the library accepts only these two. */
#define TAVO_ELEMENT_UNSET 0
#define TAVO_ELEMENT_STRING 8

/*
 * A one-dimensional array of 8-bit strings whose indexes run from lowerBound to
 * lowerBound + count - 1. Each element is a malloc'd, zero-terminated string or
 * NULL; NULL and "" both stand for the empty string.
 */
typedef struct TavoStringArray {
    uint16_t dimensions;  /* must be 1 */
    uint16_t elementType; /* TAVO_ELEMENT_STRING or TAVO_ELEMENT_UNSET */
    int32_t lowerBound;
    uint32_t count;
    char** elements; /* count slots (may be NULL only when count is 0) */
} TavoStringArray;

/*
 * Result codes of GetComPortList. A result of 0 or more is the number of names
 * written. Codes that cannot arise in this build are kept so that every caller
 * treats the same range as failure.
 */
enum {
    TAVO_PORTLIST_UNKNOWN_SYSTEM = -1,    /* never: there is no system family check here */
    TAVO_PORTLIST_BAD_ARGUMENT = -2,      /* no pointer, no array, not one dimension, bad element type */
    TAVO_PORTLIST_SOURCE_UNREADABLE = -3, /* the port map folder (or sysfs) cannot be read */
    TAVO_PORTLIST_INFO_UNREADABLE = -4,   /* never: the map is read in one pass */
    TAVO_PORTLIST_ENTRY_UNREADABLE = -5,  /* an entry cannot be read, or its name or target is too long */
    TAVO_PORTLIST_LOCK_FAILED = -6,       /* never: the array has no lock */
    TAVO_PORTLIST_UNLOCK_FAILED = -7,     /* never: the array has no lock */
    TAVO_PORTLIST_NO_MEMORY = -8          /* the array or a name cannot be allocated */
};

/*
 * Fills *ports with the port names. When there are more ports than elements the
 * array grows to exactly the number of ports, keeping its lower bound; elements
 * after the last name are emptied. With no port the array is left as it was and
 * the result is 0. On failure the names written before it stay written.
 */
int32_t GetComPortList(TavoStringArray** ports);

typedef int32_t (*TavoGetComPortListFn)(TavoStringArray** ports);

/* Helpers for callers. */

/* A new string array of count empty elements; NULL when out of memory. */
static inline TavoStringArray* TavoStringArrayCreate(int32_t lowerBound, uint32_t count) {
    TavoStringArray* a = (TavoStringArray*)calloc(1, sizeof(TavoStringArray));
    if (!a) return NULL;
    a->dimensions = 1;
    a->elementType = TAVO_ELEMENT_STRING;
    a->lowerBound = lowerBound;
    if (count > 0) {
        a->elements = (char**)calloc(count, sizeof(char*));
        if (!a->elements) {
            free(a);
            return NULL;
        }
    }
    a->count = count;
    return a;
}

static inline void TavoStringArrayDestroy(TavoStringArray* a) {
    uint32_t i;
    if (!a) return;
    for (i = 0; i < a->count && a->elements; ++i) free(a->elements[i]);
    free(a->elements);
    free(a);
}

/* The element at index (counted with the lower bound); "" when empty or out of range. */
static inline const char* TavoStringArrayAt(const TavoStringArray* a, int64_t index) {
    int64_t offset;
    if (!a || !a->elements) return "";
    offset = index - (int64_t)a->lowerBound;
    if (offset < 0 || offset >= (int64_t)a->count || !a->elements[offset]) return "";
    return a->elements[offset];
}

/* Replaces the element at index by a copy of text (NULL empties it); 0 on success, -1 otherwise. */
static inline int TavoStringArraySet(TavoStringArray* a, int64_t index, const char* text) {
    int64_t offset;
    char* copy = NULL;
    if (!a || !a->elements) return -1;
    offset = index - (int64_t)a->lowerBound;
    if (offset < 0 || offset >= (int64_t)a->count) return -1;
    if (text) {
        size_t n = strlen(text);
        copy = (char*)malloc(n + 1);
        if (!copy) return -1;
        memcpy(copy, text, n + 1);
    }
    free(a->elements[offset]);
    a->elements[offset] = copy;
    return 0;
}

/* Upper bound: lowerBound - 1 for an array without elements. */
static inline int64_t TavoStringArrayUpperBound(const TavoStringArray* a) {
    return (int64_t)a->lowerBound + (int64_t)a->count - 1;
}

#ifdef __cplusplus
}
#endif

#endif /* TAVO_PORTLIST_TAVOHWP_H */
