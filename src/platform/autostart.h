#pragma once
// Registration of the start-up companion with the machine's autostart, so the program starts at
// every log-on. Both operations ignore failures as far as the program is concerned (the user may
// lack the right to write the machine-wide location); the result is there for tests and logs.
namespace tallowby::platform {

class AutoStart {
  public:
    virtual ~AutoStart() = default;
    // Adds the entry when none exists; an existing entry is kept whatever it says. true when an
    // entry is in place afterwards.
    virtual bool AddAutoStart() = 0;
    // Removes the entry. true when no entry is left afterwards.
    virtual bool DelAutoStart() = 0;
};

} // namespace tallowby::platform
