#pragma once

// What the trainer window asks of the program around it. The program shows its login window
// modeless; tests put a recording stand-in here. Keeps the trainer free of the login window's headers.
class TrainerHost
{
public:
    virtual ~TrainerHost() = default;
    // Shows the login window (creating it when it is not loaded) without blocking; the trainer stays
    // open behind it.
    virtual void openLoginWindow() = 0;
};
