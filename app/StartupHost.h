#pragma once

// What the agreement and splash windows ask of the program when they hand over: they never create
// the next window themselves, so each can be tested alone with a recording stand-in.
class StartupHost
{
public:
    virtual ~StartupHost() = default;

    // Shows the splash window without blocking, creating and loading it first.
    virtual void showSplash() = 0;
    // Shows the login window without blocking, creating it when none is loaded.
    virtual void openLoginWindow() = 0;
};
