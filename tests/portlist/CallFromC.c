/* A C caller of the library header: builds its array with the C helpers and
 * copies out the first name, so the header stays usable from C. */
#include "portlist/tavohwp.h"

int32_t CallGetComPortListFromC(TavoGetComPortListFn fn, char* first, size_t size) {
    TavoStringArray* ports = TavoStringArrayCreate(0, 1);
    int32_t result;
    if (!ports) return TAVO_PORTLIST_NO_MEMORY;
    result = fn(&ports);
    if (size > 0) {
        strncpy(first, TavoStringArrayAt(ports, 0), size - 1);
        first[size - 1] = '\0';
    }
    TavoStringArrayDestroy(ports);
    return result;
}
