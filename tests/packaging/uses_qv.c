/* A program built against the unpacked libqv-dev through pkg-config: it finds
 * qv.h, links with -lqv and runs on libqv.so.1 from the runtime package. */
#include <qv.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/utsname.h>

static int expect(const char* what, int32_t got, int32_t wanted) {
    if (got == wanted)
        return 0;
    fprintf(stderr, "%s gave %d, expected %d\n", what, (int)got, (int)wanted);
    return 1;
}

int main(void) {
    struct utsname system;
    if (uname(&system) != 0)
        return 2;
    int faults = 0;
    faults += expect("WinVersion(4)", WinVersion(4), 1);
    faults += expect("WinVersion(1)", WinVersion(1), (int32_t)strtol(system.release, NULL, 10));
    if (strncmp(WinVersionRem(), system.version, 127) != 0) {
        fprintf(stderr, "WinVersionRem gave \"%s\", expected \"%s\"\n", WinVersionRem(),
                system.version);
        ++faults;
    }
    if (faults == 0)
        puts("libqv works");
    return faults == 0 ? 0 : 1;
}
