#pragma once
// Stand-ins for tests of the code that calls the system operations: they act on nothing and record
// what was asked.
#include "platform/autostart.h"
#include "platform/shutdown.h"

namespace tallowby::platform {

class FakeAutoStart : public AutoStart {
  public:
    bool present = false;    // whether an entry exists
    bool failWrites = false; // like a user without the right to write the autostart location
    int adds = 0;
    int dels = 0;

    bool AddAutoStart() override {
        ++adds;
        if (!present && !failWrites) {
            present = true;
        }
        return present;
    }
    bool DelAutoStart() override {
        ++dels;
        if (present && !failWrites) {
            present = false;
        }
        return !present;
    }
};

class FakeShutdown : public ShutdownCommand {
  public:
    int starts = 0;
    int cancels = 0;
    bool cancelWorks = true;
    bool start() override {
        ++starts;
        return true;
    }
    bool cancel() override {
        ++cancels;
        return cancelWorks;
    }
};

} // namespace tallowby::platform
