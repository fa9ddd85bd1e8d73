#pragma once

// Placeholder: the tag and code catalogue is completed with the TLV messages.
enum ETag {
    ETag_MsgType = 1,
    ETag_Receipt = 44,
    ETag_DataFile = 85,
};

enum EMsgType {
    EMsgType_PingRequest = 11,
    EMsgType_PingResponse = 12,
    EMsgType_StatusMessage = 13,
};
