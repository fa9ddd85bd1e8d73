/* One purchase: start it, follow the terminal while it runs, read the
 * result. Every text comes back as UTF-8. */
#include "purchase.h"

#include "velaecr.h"

#include <stdio.h>
#include <string.h>
#include <time.h>

/* Text results need a buffer of 2 x C + 1 bytes for a value of C bytes. */
#define SHORT_TEXT 257    /* C = 128 */
#define RECEIPT_TEXT 8193 /* C = 4096 */

static void pause_briefly(void) {
    struct timespec pause = {0, 50 * 1000 * 1000}; /* 50 ms */
    nanosleep(&pause, NULL);
}

/* Polls until the operation has ended, printing each new status message. */
static int wait_for_result(void) {
    int shown = -1;
    int state;
    while ((state = VELALib_LastResult()) == 2) {
        int code = VELALib_LastStatMsgCode();
        char text[SHORT_TEXT] = "";
        if (code >= 0 && code != shown && VELALib_LastStatMsgDescription(text) == 0) {
            printf("  terminal: %s\n", text);
            shown = code;
        }
        pause_briefly();
    }
    return state;
}

static void print_text(const char* label, int (*read)(char*)) {
    char text[SHORT_TEXT] = "";
    if (read(text) == 0)
        printf("  %-15s %s\n", label, text);
}

static void print_result(void) {
    char when[SHORT_TEXT] = "";
    int amount = VELALib_Amount();
    if (amount >= 0)
        printf("  %-15s %d.%02d\n", "amount", amount / 100, amount % 100);
    print_text("RRN", VELALib_RRN);
    print_text("auth code", VELALib_AuthCode);
    print_text("card", VELALib_PAN);
    if (VELALib_DateTime(when) == 0) /* YYMMDDhhmmss */
        printf("  %-15s 20%.2s-%.2s-%.2s %.2s:%.2s:%.2s\n", "date-time", when, when + 2, when + 4,
               when + 6, when + 8, when + 10);
    printf("  %-15s %d\n", "response code", VELALib_ResponseCode());
}

int run_purchase(unsigned int amount) {
    static char receipt[RECEIPT_TEXT];
    int rc = VELALib_Purchase(amount, 0, 0); /* merchant 0, no additional amount */
    if (rc != 0) {
        printf("purchase not started: %d\n", rc);
        return 1;
    }
    printf("purchase of %u.%02u started\n", amount / 100, amount % 100);
    if (wait_for_result() != 0) {
        char why[SHORT_TEXT] = "";
        VELALib_LastErrorDescription(why); /* read before any result field */
        printf("purchase failed (error kind %d): %s\n", VELALib_LastErrorCode(), why);
        return 1;
    }
    printf("purchase approved\n");
    print_result();
    if (VELALib_Receipt(receipt) == 0)
        printf("receipt:\n%s", receipt);
    return 0;
}
