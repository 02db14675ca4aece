#pragma once

// What the trainer window asks of the program around it. The program shows its login and Results
// windows modeless; tests put a recording stand-in here. Keeps the trainer free of those windows'
// headers.
class TrainerHost
{
public:
    virtual ~TrainerHost() = default;
    // Shows the login window (creating it when it is not loaded) without blocking; the trainer stays
    // open behind it.
    virtual void openLoginWindow() = 0;
    // Shows the logged-in user's Results window without blocking (creating it when none is open) and
    // brings it to the front.
    virtual void openResultsWindow() = 0;
    // A try of a test run has just been counted and stored: an open Results window takes it in.
    virtual void tryCounted() = 0;
    // The user asks to plan (declare, or end early) a series of tries: the program opens its planner.
    virtual void planSeries() = 0;
    // The counted try just taken in was the last of a declared series: its result comes forward
    // (the Results window opens or rises to it).
    virtual void seriesClosed() = 0;
};
