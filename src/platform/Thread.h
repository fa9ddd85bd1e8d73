#pragma once

// Abstract handle of a thread started by ThreadFabric. The owner makes the
// thread's routine return, joins it and deletes the handle.
class Thread {
public:
    virtual ~Thread() {}
    virtual bool is_joinable() = 0;
    virtual int join() = 0;
    virtual int detach() = 0;
};
