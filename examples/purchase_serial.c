/* A cash-register program that pays by card over a serial line:
 *
 *   purchase_serial DEVICE [AMOUNT_IN_KOPECKS]
 *
 * e.g. against the emulated terminal: vela-terminal --pty prints the device
 * to use, then purchase_serial /dev/pts/3 12550 */
#include "purchase.h"

#include "velaecr.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    unsigned int amount = argc > 2 ? (unsigned int)strtoul(argv[2], NULL, 10) : 12550;
    int rc;
    if (argc < 2) {
        fprintf(stderr, "usage: %s DEVICE [AMOUNT_IN_KOPECKS]\n", argv[0]);
        return 2;
    }
    VELALib_InitializeVELA();
    VELALib_SetErrorLang(1);                /* error descriptions in Ukrainian */
    rc = VELALib_CommOpen(argv[1], 115200); /* blocks until the session is up */
    if (rc != 0) {
        char why[257] = "";
        VELALib_LastErrorDescription(why);
        printf("no connection on %s (%d): %s\n", argv[1], rc, why);
        VELALib_UninitializeVELA();
        return 1;
    }
    printf("connected to the terminal on %s\n", argv[1]);
    rc = run_purchase(amount);
    VELALib_CommClose();
    VELALib_UninitializeVELA();
    return rc;
}
