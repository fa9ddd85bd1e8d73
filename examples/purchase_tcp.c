/* A cash-register program that pays by card over TCP:
 *
 *   purchase_tcp ADDRESS PORT [AMOUNT_IN_KOPECKS]
 *
 * e.g. against the emulated terminal: vela-terminal --tcp 5000, then
 * purchase_tcp 127.0.0.1 5000 12550 */
#include "purchase.h"

#include "velaecr.h"

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    unsigned int amount = argc > 3 ? (unsigned int)strtoul(argv[3], NULL, 10) : 12550;
    int rc;
    if (argc < 3) {
        fprintf(stderr, "usage: %s ADDRESS PORT [AMOUNT_IN_KOPECKS]\n", argv[0]);
        return 2;
    }
    VELALib_InitializeVELA();
    VELALib_SetErrorLang(1);                    /* error descriptions in Ukrainian */
    rc = VELALib_CommOpenTCP(argv[1], argv[2]); /* blocks until the session is up */
    if (rc != 0) {
        char why[257] = "";
        VELALib_LastErrorDescription(why);
        printf("no connection to %s:%s (%d): %s\n", argv[1], argv[2], rc, why);
        VELALib_UninitializeVELA();
        return 1;
    }
    printf("connected to the terminal at %s:%s\n", argv[1], argv[2]);
    rc = run_purchase(amount);
    VELALib_CommClose();
    VELALib_UninitializeVELA();
    return rc;
}
