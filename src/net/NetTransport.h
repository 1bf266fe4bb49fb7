// NetTransport: the connection to one partner that online play sends through and polls.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct TNetEvent {
    enum TType : uint8_t { Nothing, Connected, Received, Disconnected };
    TType Type = Nothing;
    std::vector<uint8_t> Bytes; // a received message
};

// One partner at a time. Reliable messages arrive once and in the order sent; the others may be
// lost, but a later one never overtakes an earlier one.
class TNetTransport {
  public:
    virtual ~TNetTransport() = default;
    virtual void Send(const std::vector<uint8_t>& bytes, bool reliable) = 0;
    // The next event, waiting at most waitMs for one; false when there was none.
    virtual bool Poll(TNetEvent& event, uint32_t waitMs) = 0;
    // Lets the reliable messages sent so far go out, then lets the partner go.
    virtual void Disconnect() = 0;
};

// ENet over UDP (net/EnetTransport.cpp). A host listens on every address at the port and takes the
// first partner that connects (port 0: a free port the system picks, which `port` then holds); a
// guest connects to HOST:PORT. Null with a reason when the port or the name cannot be used.
std::unique_ptr<TNetTransport> ListenOnPort(uint16_t& port, std::string& error);
std::unique_ptr<TNetTransport> ConnectToHost(const std::string& host, uint16_t port, std::string& error);
