#pragma once

// Result codes of the client and its engine. Transport (101..116), TLV
// (201..207) and link-protocol (301..317) codes pass upward unchanged beside
// these.
enum EECRClientCode {
    ECRC_OK = 0,
    ECRC_ERROR = 1,
    ECRC_OPENPORTFAILED = 2,
    ECRC_ENUMPORTSFAILED = 3,
    ECRC_CONNECTFAILED = 4,
    ECRC_PORTNOTOPENED = 5,
    ECRC_NOTINITED = 6,
    ECRC_TASKRUNNING = 7,
    ECRC_NODATA = 8,
    ECRC_MSGCORRUPTED = 9,
    ECRC_SMALLBUFFER = 10,
    ECRC_DISCONNECTED = 11,
    ECRC_RECVTIMEOUT = 12,
    ECRC_SENDFAILED = 13,
    ECRC_TERMCONNERROR = 14,
    ECRC_UNKNOWN = 15,
    ECRC_TERMNOANSWER = 17,
};
