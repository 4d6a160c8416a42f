#pragma once
// What an AlarmState tells the one window that shows it.
//
// The state calls these from whatever thread changed it, possibly with its
// own locks held: an implementation only takes note (posts a call to its own
// thread, say) and reads the state later, never from inside the call.
namespace ovk_wxtools {

class AlarmListener {
public:
    // History rows wait in the state's backlog. Told once; told again only
    // after the backlog has been taken to the end.
    virtual void rows_waiting() = 0;
    // The active alarms changed and the list should be rebuilt.
    virtual void alarms_changed() = 0;

protected:
    ~AlarmListener() = default;
};

}  // namespace ovk_wxtools
