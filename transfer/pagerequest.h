#pragma once

// Bookkeeping of the one page request a list model may have in flight.
// Every request gets a serial that is unique in the process, so an answer
// can be recognised as the current one, as a stale one of ours (the list was
// reset while it was under way) or as another model's answer on the same
// manager. A model never sends a second page request while one is in flight:
// after a reset it waits for the stale answer, drops it and then loads.
class PageRequest
{
public:
    enum Answer { Current, Stale, Foreign };

    // Serial for a new request, which becomes the one in flight.
    int begin();
    // The answer in flight no longer fits the list. wantReload: load page 1
    // once the stale answer is in.
    void invalidate(bool wantReload = true);
    // Classifies an arriving answer; Current and Stale end the flight.
    Answer take(int serial);
    // Forgets the flight (the manager was replaced: its answer will not come).
    void clear();

    bool busy() const { return m_inFlight != 0; }
    // After a Stale answer: whether a reload was asked for meanwhile. Clears it.
    bool takeReload();

    // A fresh process-wide serial, also for requests other than pages.
    static int nextSerial();

private:
    int m_inFlight = 0;
    int m_current = 0;
    bool m_reload = false;
};
