// A JACK dummy server of the test's own: started under a unique name, stopped by its process id.
#pragma once

#include <sys/types.h>

#include <string>

namespace kalvintor::sound::testing {

class JackServer {
public:
    // Starts `jackd --no-realtime -d dummy` and waits until it takes clients. Sets
    // JACK_DEFAULT_SERVER for this process, so every JACK client here uses it.
    JackServer();
    ~JackServer();
    JackServer(const JackServer&) = delete;
    JackServer& operator=(const JackServer&) = delete;

    static bool Installed();
    bool Running() const { return ready_; }
    const std::string& Error() const { return error_; }

private:
    pid_t pid_ = -1;
    bool ready_ = false;
    std::string name_;
    std::string error_;
};

}  // namespace kalvintor::sound::testing
