#pragma once
// Switching the computer off. The system's service is replaceable so that
// tests (and anything else that must never power off) can put a fake in.

class TSystemShutdown {
public:
    virtual ~TSystemShutdown() = default;
    // Asks the system to close every session and switch the power off.
    // False when the request was refused or could not be sent.
    virtual bool PowerOff() = 0;
};

// The service in use: logind over the system D-Bus unless replaced.
TSystemShutdown &SystemShutdown();
// Replaces the service (not owned); nullptr goes back to logind.
void SetSystemShutdown(TSystemShutdown *service);
