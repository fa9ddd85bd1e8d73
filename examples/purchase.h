/* One purchase on a connected terminal, as a cash-register program runs it.
 * Shared by the TCP and the serial example. */
#ifndef PURCHASE_H
#define PURCHASE_H

/* Starts a purchase of amount (in kopecks), shows each status message of
 * the terminal while waiting, then prints the result and the receipt.
 * Returns 0 when the purchase was approved. */
int run_purchase(unsigned int amount);

#endif
