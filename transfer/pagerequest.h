#pragma once

#include <QVector>

class BaseModel;

// Bookkeeping of the page requests of a list model, by generation: a reset
// of the list starts a new generation, every request is tagged with the
// generation it was asked in, and an answer is taken only when its request
// belongs to the current one. The serial a request carries is a fresh
// request handle (unique in the process, never 0), so it can travel as the
// TW_HANDLE of a facade request and tell our answers from another model's.
//
// Two ways of use: a model may wait for a stale answer before it asks again
// (busy() covers every request in flight, and takeReload() says whether the
// list was reset meanwhile), or ask for the new list at once (loading()
// covers the current generation only; stale answers are dropped whenever
// they come).
//
// A request that raised the model's busy overlay is marked so at begin();
// its answer closes that overlay, current or stale, so overlays nest one
// for one however resets and answers interleave.
class PageRequest
{
public:
    enum Answer { Current, Stale, Foreign };

    // Serial for a new request of the current generation. overlay: the
    // request raised the busy overlay (see take()).
    int begin(bool overlay = false);
    // The list was reset: every request in flight becomes stale. wantReload:
    // ask for page 1 once a stale answer is in (takeReload), unless a request
    // of the new generation is sent first.
    void invalidate(bool wantReload = true);
    // Classifies an arriving answer; Current and Stale end that request,
    // and close the overlay it raised on model.
    Answer take(int serial, BaseModel* model = nullptr);
    // take() for a model that asks for a new listing at once: true for the
    // answer to the current listing's request. A stale answer is dropped;
    // another model's answer is only logged. Either of ours closes the
    // overlay its request raised.
    bool takeCurrent(int serial, BaseModel* model, const char* where);
    // Forgets every request (the facade was replaced: no answer will come),
    // closing the overlays they raised on model.
    void clear(BaseModel* model = nullptr);

    bool busy() const { return !m_flights.isEmpty(); }
    bool loading() const;
    int generation() const { return m_generation; }
    // After a Stale answer: whether a reload was asked for meanwhile. Clears it.
    bool takeReload();

    // A fresh request handle, also for requests other than pages.
    static int nextSerial();

private:
    struct Flight
    {
        int serial;
        int generation;
        bool overlay;
    };
    QVector<Flight> m_flights;
    int m_generation = 0;
    bool m_reload = false;
};
