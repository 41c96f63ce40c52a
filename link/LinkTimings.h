#pragma once

// How long the device link waits for things. The program runs with the defaults;
// tests shorten them so that no test waits for real seconds.
struct LinkTimings {
    // Timer1: the device must send something in every period, or the link is dropped.
    int keepAliveMs = 10000;
    // bConnectClick gives up on the connection after this long.
    int connectWaitMs = 30000;
    // ApplySettings waits this long for the device's confirmation.
    int applyWaitMs = 10000;
    // The socket's own limit for establishing a connection (reported as code 10060).
    int socketConnectTimeoutMs = 20000;

    static const LinkTimings& current();

    // Replaces the timings in force and returns the previous ones, so a test can restore them.
    static LinkTimings replace(const LinkTimings& timings);
};
