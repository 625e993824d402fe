/* Preloaded into the helper that probes a card, makes it fail as a broken driver would, as
 * READYCHECK_TEST_FAULT says: hang, crash, or print garbage and end. */
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

__attribute__((constructor)) static void Fail(void) {
    const char* fault = getenv("READYCHECK_TEST_FAULT");
    if (fault == NULL) {
        return;
    }
    if (strcmp(fault, "hang") == 0) {
        for (;;) {
            pause();
        }
    }
    if (strcmp(fault, "crash") == 0) {
        abort(); /* as a driver's failed assertion; a sanitizer leaves this signal alone */
    }
    if (strcmp(fault, "garbage") == 0) {
        static const char garbage[] = "{\"renderer\": \"half an answer";
        (void)write(STDOUT_FILENO, garbage, sizeof garbage - 1);
        _exit(0);
    }
}
