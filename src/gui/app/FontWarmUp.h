#pragma once

#include <thread>

// Reads the system's font configuration on a thread of its own while the toolkit starts up. The
// first text Vellmore lays out needs it, and where fonts are configured by fontconfig (Linux)
// reading it takes about as long as making every control of the main window; the toolkit's own
// start-up needs no fonts, so the two overlap. Made before the application object, waited for
// after it. Elsewhere it does nothing.
class FontWarmUp {
public:
    FontWarmUp();
    ~FontWarmUp();

    // Until the configuration is read.
    void wait();

private:
    std::thread m_reader;
};
