package ua.vela.ecr;

/**
 * Drives a bank-card payment terminal through the native library
 * {@code libvelaecrjni.so}.
 *
 * <h2>Loading</h2>
 * The class does not load the library by itself: call
 * {@code System.load("/path/to/libvelaecrjni.so")} (or
 * {@code System.loadLibrary("velaecrjni")} with the folder on
 * {@code java.library.path}) once before the first call. Use the library that
 * matches the JVM: the 32-bit build for a 32-bit JVM, the 64-bit build for a
 * 64-bit one.
 *
 * <h2>Model</h2>
 * The library holds one client instance: {@link #InitializeVELA()} makes it,
 * {@link #UninitializeVELA()} frees it. A connection call
 * ({@link #CommOpenTCP}, {@link #CommOpen}, {@link #CommOpenAuto}) opens the
 * line and initialises the terminal session; it blocks until that is done.
 * Every operation ({@link #Purchase}, {@link #Refund}, ...) returns at once:
 * the work runs on the library's own worker thread. Poll {@link #LastResult()}
 * (every 100 ms or so) until it is no longer 2, then read
 * {@link #LastErrorCode()} and, on failure, {@link #LastErrorDescription()},
 * then the result fields ({@link #Amount()}, {@link #RRN()},
 * {@link #Receipt()}, ...). Finish with {@link #CommClose()} and
 * {@link #UninitializeVELA()}.
 *
 * <h2>Result codes</h2>
 * Commands return 0 on success or one of these codes:
 * <pre>
 *  1 error (also: no instance, or a null text argument)
 *  2 failed to open port        9 message corrupted
 *  3 failed to enumerate ports 10 buffer too small for the data
 *  4 failed to connect         11 device disconnected
 *  5 port is not opened        12 receive time-out
 *  6 client not initialised    13 cannot send the message
 *  7 another task is running   14 terminal connection error
 *  8 no data available         15 unknown error
 *                              17 terminal does not answer
 * </pre>
 * Byte and number results return the value or, on failure, the code: the two
 * cannot be told apart by the number alone, so read them only after the
 * operation has succeeded. Text results return a new {@code String}, or
 * {@code null} on failure or without an instance.
 *
 * <h2>Arguments</h2>
 * Amounts are in minor units (kopecks) and are taken as unsigned 32-bit
 * values. Arguments described as "8-bit" use only their low 8 bits. Text
 * arguments reach the terminal in its code page CP1251; a character CP1251
 * cannot hold is sent as '?'. A {@code null} text argument makes the call
 * return 1 without doing anything.
 *
 * <h2>Threads</h2>
 * {@link #InitializeVELA()} and {@link #UninitializeVELA()} must not overlap
 * any other call. Every other method may be called from any thread, also
 * while an operation runs.
 */
public final class VELALib {
    /** Not instantiable: every method is static. */
    private VELALib() {}

    // ---- Life cycle ---------------------------------------------------------

    /**
     * Creates the library instance. A second call first closes and frees the
     * earlier instance.
     *
     * @return 0, or 1 when no instance could be made
     */
    public static native int InitializeVELA();

    /**
     * Closes the connection, stops the worker thread and frees the instance.
     * Blocks until the worker has ended.
     *
     * @return 0, also when there was no instance
     */
    public static native int UninitializeVELA();

    // ---- Connection and control ---------------------------------------------

    /**
     * Opens a serial port and initialises the terminal session. Blocks.
     *
     * @param port the device, e.g. "/dev/ttyUSB0"
     * @param baudRate the line speed, 1200 to 115200
     * @return 0, 2 when the port cannot be opened, or the code of the failed
     *     initialisation
     */
    public static native int CommOpen(String port, int baudRate);

    /**
     * Connects to the terminal over TCP and initialises the session. Blocks
     * (the connection attempt takes at most about 3 seconds).
     *
     * @param address the terminal's IPv4 address, e.g. "192.168.0.10"
     * @param port the TCP port as text, e.g. "2000"
     * @return 0, 2 when the connection fails, or the code of the failed
     *     initialisation
     */
    public static native int CommOpenTCP(String address, String port);

    /**
     * Tries every serial port of the host with a ping and keeps the first one
     * that answers. Blocks.
     *
     * @param baudRate the line speed, 1200 to 115200
     * @return 0, 3 when the ports cannot be listed, 2 when none answered
     */
    public static native int CommOpenAuto(int baudRate);

    /**
     * Stops the worker thread and closes the connection. Blocks until the
     * worker has ended.
     *
     * @return 0
     */
    public static native int CommClose();

    /**
     * Accepted for compatibility; the arguments are ignored.
     *
     * @param flag 8-bit flag
     * @param text any text
     * @return 0
     */
    public static native int UseMac(int flag, String text);

    /**
     * Starts the confirmation of the last transaction. Poll
     * {@link #LastResult()}.
     *
     * @return 0, 5 without a connection, 7 while another operation runs
     */
    public static native int Confirm();

    /**
     * Asks the terminal to abort the running operation. Does not wait.
     *
     * @return 0, 5 without a connection
     */
    public static native int Cancel();

    /**
     * Starts a ping of the terminal. Poll {@link #LastResult()}.
     *
     * @return 0, 5 without a connection, 7 while another operation runs
     */
    public static native int Ping();

    /**
     * Asks the worker to check, during the running exchange, that the terminal
     * still answers; the operation ends with code 17 when it does not.
     *
     * @return 0
     */
    public static native int CheckTerminal();

    /**
     * Chooses the language of {@link #LastErrorDescription()}.
     *
     * @param language 8-bit: 0 English, 1 Ukrainian, 2 Russian
     * @return 0, or 1 for another value (language unchanged)
     */
    public static native int SetErrorLang(int language);

    /**
     * Sets up the log file (appended, rotated at 1 MiB).
     *
     * @param level 8-bit: 0 off, 1 short log, 2 detailed log
     * @param path the log file
     * @return 0, or 1 when the file cannot be set up
     */
    public static native int useLogging(int level, String path);

    // ---- Operations ---------------------------------------------------------
    // Each returns at once: 0 when the operation was started, 5 without an
    // open and initialised connection, 7 while another operation runs, 1 for a
    // refused or null argument. Then poll LastResult().

    /**
     * Starts a purchase.
     *
     * @param amount the amount in minor units
     * @param addAmount the additional amount (e.g. a tip) in minor units
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code (see the class description)
     */
    public static native int Purchase(int amount, int addAmount, int merchIdx);

    /**
     * Starts a refund.
     *
     * @param amount the amount in minor units
     * @param addAmount the additional amount in minor units
     * @param merchIdx 8-bit merchant index
     * @param rrn the RRN of the original purchase
     * @return 0 when started, else a code
     */
    public static native int Refund(int amount, int addAmount, int merchIdx, String rrn);

    /**
     * Starts the void of a transaction of the current batch.
     *
     * @param invoiceNum the transaction's invoice number
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int Void(int invoiceNum, int merchIdx);

    /**
     * Starts a settlement (closes the batch).
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int Settlement(int merchIdx);

    /**
     * Starts the printing of the batch totals.
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int PrintBatchTotals(int merchIdx);

    /**
     * Starts the purchase of a service.
     *
     * @param merchIdx 8-bit merchant index
     * @param amount the amount in minor units
     * @param serviceParams the service parameters
     * @return 0 when started, else a code
     */
    public static native int PurchaseService(int merchIdx, int amount, String serviceParams);

    /**
     * Starts a card identification.
     *
     * @param merchIdx 8-bit merchant index
     * @param currCode the currency code, e.g. "980"
     * @param accNumber 8-bit account number
     * @return 0 when started, else a code
     */
    public static native int IdentifyCard(int merchIdx, String currCode, int accNumber);

    /**
     * Starts a query of the number of transactions in the batch; read
     * {@link #TxnNum()} afterwards.
     *
     * @return 0 when started, else a code
     */
    public static native int GetTxnNum();

    /**
     * Starts a query of a transaction by its order in the batch.
     *
     * @param orderNum the order number
     * @return 0 when started, else a code
     */
    public static native int GetTxnDataByOrder(int orderNum);

    /**
     * Starts a query of a transaction by its invoice number.
     *
     * @param invoiceNum the invoice number
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int GetTxnDataByInv(int invoiceNum, int merchIdx);

    /**
     * Starts a query of the batch totals; read the Totals fields afterwards.
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int GetBatchTotals(int merchIdx);

    /**
     * Starts a check of the terminal's connection to the bank.
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int CheckConnection(int merchIdx);

    /**
     * Starts a request for the receipt of the current transaction.
     *
     * @return 0 when started, else a code
     */
    public static native int ReqCurrReceipt();

    /**
     * Starts the printing of a copy of the last settlement.
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int PrintLastSettleCopy(int merchIdx);

    /**
     * Starts the printing of the batch journal.
     *
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int PrintBatchJournal(int merchIdx);

    /**
     * Starts a request for the receipt of a transaction by invoice number.
     *
     * @param invoiceNum the invoice number
     * @param merchIdx 8-bit merchant index
     * @return 0 when started, else a code
     */
    public static native int ReqReceiptByInv(int invoiceNum, int merchIdx);

    /**
     * Switches the terminal's screen and keypad control by the cash register
     * on or off.
     *
     * @param mode true to take control
     * @return 0 when started, else a code
     */
    public static native int SetControlMode(boolean mode);

    /**
     * Starts waiting for a key on the terminal's keypad; read {@link #Key()}
     * afterwards.
     *
     * @param timeOut 8-bit time-out in seconds
     * @return 0 when started, else a code
     */
    public static native int ReadKey(int timeOut);

    /**
     * Shows the lines set with {@link #SetLine} on the terminal's screen.
     *
     * @param beep 8-bit: non-zero to beep
     * @return 0 when started, else a code
     */
    public static native int DisplayText(int beep);

    /**
     * Sets one line of the terminal's screen for {@link #DisplayText}.
     *
     * @param row 8-bit row
     * @param col 8-bit column
     * @param text the text (Cyrillic is sent as CP1251)
     * @param invert 8-bit: non-zero for inverted display
     * @return 0 when started, else a code
     */
    public static native int SetLine(int row, int col, String text, int invert);

    /**
     * Starts an exchange of statuses between the cash register and the
     * terminal.
     *
     * @param ecrStatus 8-bit status of the cash register
     * @return 0 when started, else a code
     */
    public static native int ExchangeStatuses(int ecrStatus);

    /**
     * Starts the completion of a pre-authorisation.
     *
     * @param merchIdx 8-bit merchant index
     * @param amount the final amount in minor units
     * @param rrn the RRN of the pre-authorisation
     * @param invoiceNum the invoice number of the pre-authorisation
     * @return 0 when started, else a code
     */
    public static native int Completion(int merchIdx, int amount, String rrn, int invoiceNum);

    /**
     * Starts reading a card (its data without a transaction).
     *
     * @return 0 when started, else a code
     */
    public static native int ReadCard();

    /**
     * Starts a balance enquiry.
     *
     * @param merchIdx 8-bit merchant index
     * @param currCode the currency code
     * @param accNumber 8-bit account number
     * @return 0 when started, else a code
     */
    public static native int Balance(int merchIdx, String currCode, int accNumber);

    /**
     * Starts a deposit.
     *
     * @param merchIdx 8-bit merchant index
     * @param amount the amount in minor units
     * @param currCode the currency code
     * @param accNumber 8-bit account number
     * @return 0 when started, else a code
     */
    public static native int Deposit(int merchIdx, int amount, String currCode, int accNumber);

    /**
     * Starts a request for the terminal's information; read
     * {@link #TerminalInfo()} afterwards.
     *
     * @return 0 when started, else a code
     */
    public static native int POSGetInfo();

    /**
     * Starts a request for the terminal's extended transaction.
     *
     * @return 0 when started, else a code
     */
    public static native int POSExTransaction();

    /**
     * Starts the selection of an application on the terminal.
     *
     * @param appName the application's name
     * @param appIdx the application's index
     * @return 0 when started, else a code
     */
    public static native int SelectApp(String appName, int appIdx);

    /**
     * Starts closing the selected application.
     *
     * @return 0 when started, else a code
     */
    public static native int CloseApp();

    /**
     * Starts a scenario on the terminal; read {@link #ScenarioData()}
     * afterwards.
     *
     * @param scenarioID the scenario's identifier
     * @param scenarioData the scenario's data
     * @return 0 when started, else a code
     */
    public static native int StartScenario(int scenarioID, String scenarioData);

    /**
     * Sets extra print data sent with the following requests.
     *
     * @param data the data
     * @return 0, or a code
     */
    public static native int SetExtraPrintData(String data);

    /**
     * Sets extra XML data sent with the following requests.
     *
     * @param data the data
     * @return 0, or a code
     */
    public static native int SetExtraXmlData(String data);

    /**
     * Starts sending a file to the terminal.
     *
     * @param path the file
     * @param dataType 8-bit data type
     * @param command 8-bit command
     * @return 0 when started, else a code
     */
    public static native int SendFile(String path, int dataType, int command);

    /**
     * Starts showing one of the terminal's screens.
     *
     * @param screenNumber the screen number
     * @return 0 when started, else a code
     */
    public static native int SetScreen(int screenNumber);

    /**
     * Corrects the amounts of the running transaction.
     *
     * @param amount the new amount in minor units
     * @param addAmount the new additional amount in minor units
     * @return 0, or a code
     */
    public static native int CorrectTransaction(int amount, int addAmount);

    /**
     * Starts a cash advance.
     *
     * @param merchIdx 8-bit merchant index
     * @param amount the amount in minor units
     * @param currCode the currency code
     * @param accNumber 8-bit account number
     * @return 0 when started, else a code
     */
    public static native int CashAdvance(int merchIdx, int amount, String currCode, int accNumber);

    /**
     * Starts reading a bank card.
     *
     * @return 0 when started, else a code
     */
    public static native int ReadBankCard();

    /**
     * Starts fetching a data file from the terminal; read {@link #DataFile()}
     * or {@link #DataFileBinary()} afterwards.
     *
     * @return 0 when started, else a code
     */
    public static native int ReqDataFile();

    // ---- Byte results: the value 0..255, or the code ------------------------

    /**
     * The state of the last operation.
     *
     * @return 0 succeeded (or none ran), 1 failed, 2 still running
     */
    public static native int LastResult();

    /**
     * The kind of the last error.
     *
     * @return 0 none, 1 the port failed to open, 2 no open and initialised
     *     connection, 3 library or connection failure, 4 another code
     */
    public static native int LastErrorCode();

    /**
     * The transaction type of the result.
     *
     * @return the value 0..255, or a code
     */
    public static native int TxnType();

    /**
     * The code of the terminal's last status message.
     *
     * @return the value 0..255, or a code
     */
    public static native int LastStatMsgCode();

    /**
     * Whether the cardholder's signature must be verified.
     *
     * @return the value 0..255, or a code
     */
    public static native int SignVerif();

    /**
     * How the card was read.
     *
     * @return the value 0..255, or a code
     */
    public static native int EntryMode();

    /**
     * The terminal's status.
     *
     * @return the value 0..255, or a code
     */
    public static native int TermStatus();

    /**
     * The key pressed after {@link #ReadKey}.
     *
     * @return the value 0..255, or a code
     */
    public static native int Key();

    /**
     * The status of the transaction.
     *
     * @return the value 0..255, or a code
     */
    public static native int TrnStatus();

    /**
     * Whether the terminal printed the slip.
     *
     * @return the value 0..255, or a code
     */
    public static native int SlipPrinted();

    // ---- Number results: the unsigned value as int, or the code -------------
    // Values of 2147483648 and more come back negative: use
    // Integer.toUnsignedLong. 8 means there is no such field.

    /**
     * The bank's response code.
     *
     * @return the value, or a code
     */
    public static native int ResponseCode();

    /**
     * The invoice number of the transaction.
     *
     * @return the value, or a code
     */
    public static native int InvoiceNum();

    /**
     * The invoice number of a completion.
     *
     * @return the value, or a code
     */
    public static native int CompletionInvoiceNum();

    /**
     * The batch's debit amount.
     *
     * @return the value, or a code
     */
    public static native int TotalsDebitAmt();

    /**
     * The batch's number of debits.
     *
     * @return the value, or a code
     */
    public static native int TotalsDebitNum();

    /**
     * The batch's credit amount.
     *
     * @return the value, or a code
     */
    public static native int TotalsCreditAmt();

    /**
     * The batch's number of credits.
     *
     * @return the value, or a code
     */
    public static native int TotalsCreditNum();

    /**
     * The batch's cancelled amount.
     *
     * @return the value, or a code
     */
    public static native int TotalsCancelledAmt();

    /**
     * The batch's number of cancellations.
     *
     * @return the value, or a code
     */
    public static native int TotalsCancelledNum();

    /**
     * The number of transactions, after {@link #GetTxnNum()}.
     *
     * @return the value, or a code
     */
    public static native int TxnNum();

    /**
     * The amount of the transaction in minor units.
     *
     * @return the value, or a code
     */
    public static native int Amount();

    /**
     * The additional amount of the transaction in minor units.
     *
     * @return the value, or a code
     */
    public static native int AddAmount();

    /**
     * The batch number of the transaction.
     *
     * @return the value, or a code
     */
    public static native int TrnBatchNum();

    /**
     * The discount attribute.
     *
     * @return the value, or a code
     */
    public static native int DiscountAttribute();

    /**
     * The acquirer flag.
     *
     * @return the value, or a code
     */
    public static native int FlagAcquirer();

    // ---- Text results: a new String, or null --------------------------------
    // The terminal's CP1251 text, decoded. null without an instance or when
    // the result has no such field.

    /**
     * The transaction's date and time.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String DateTime();

    /**
     * The transaction's RRN.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String RRN();

    /**
     * The terminal identifier.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String TerminalID();

    /**
     * The merchant identifier.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String MerchantID();

    /**
     * The authorisation code.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String AuthCode();

    /**
     * The description of the last error, in the language chosen with
     * {@link #SetErrorLang}.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String LastErrorDescription();

    /**
     * The description of the terminal's last status message.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String LastStatMsgDescription();

    /**
     * The (masked) card number.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String PAN();

    /**
     * The card's expiry date.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String ExpDate();

    /**
     * The cardholder's name.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String CardHolder();

    /**
     * The card issuer's name.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String IssueName();

    /**
     * The EMV application identifier.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String emvAID();

    /**
     * The card's track 3.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String Track3();

    /**
     * The currency.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String Currency();

    /**
     * The RNK field.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String RNK();

    /**
     * The currency code.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String CurrencyCode();

    /**
     * The discount's name.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String DiscountName();

    /**
     * The cash register's data from the terminal.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String ECRDataTM();

    /**
     * The library's version.
     *
     * @return "1.5.20", or null without an instance
     */
    public static native String LibraryVersion();

    /**
     * The hash of the card number.
     *
     * @return the text (at most 128 characters), or null
     */
    public static native String PanHash();

    /**
     * The receipt text.
     *
     * @return the text (at most 4096 characters), or null
     */
    public static native String Receipt();

    /**
     * Additional data of the result.
     *
     * @return the text (at most 999 characters), or null
     */
    public static native String AddData();

    /**
     * The terminal's information, after {@link #POSGetInfo()}.
     *
     * @return the text (at most 1200 characters), or null
     */
    public static native String TerminalInfo();

    /**
     * The data of a scenario, after {@link #StartScenario}.
     *
     * @return the text (at most 999 characters), or null
     */
    public static native String ScenarioData();

    /**
     * Encrypted card data.
     *
     * @return the text (at most 999 characters), or null
     */
    public static native String CryptedData();

    /**
     * Extra card data.
     *
     * @return the text (at most 300 characters), or null
     */
    public static native String ExtraCardData();

    /**
     * The fetched data file as text, after {@link #ReqDataFile()}.
     *
     * @return the text (at most 204800 characters), or null
     */
    public static native String DataFile();

    // ---- Binary result ------------------------------------------------------

    /**
     * The fetched data file as it came from the terminal, after
     * {@link #ReqDataFile()}.
     *
     * @return exactly the file's bytes (at most 204800), or null
     */
    public static native byte[] DataFileBinary();
}
