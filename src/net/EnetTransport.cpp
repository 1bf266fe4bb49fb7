// EnetTransport: the transport over ENet, the only place that includes it.
#include "net/NetTransport.h"

#include <enet/enet.h>

namespace {

constexpr size_t ChannelCount = 2; // 0: reliable, 1: unreliable and sequenced

class TEnetTransport final : public TNetTransport {
  public:
    TEnetTransport() { Initialised = enet_initialize() == 0; }
    ~TEnetTransport() override {
        if (Host != nullptr) enet_host_destroy(Host);
        if (Initialised) enet_deinitialize();
    }
    TEnetTransport(const TEnetTransport&) = delete;
    TEnetTransport& operator=(const TEnetTransport&) = delete;

    bool Initialised = false;
    ENetHost* Host = nullptr;
    ENetPeer* Peer = nullptr;

    void Send(const std::vector<uint8_t>& bytes, bool reliable) override {
        if (Peer == nullptr || Peer->state != ENET_PEER_STATE_CONNECTED) return;
        ENetPacket* packet =
            enet_packet_create(bytes.data(), bytes.size(), reliable ? ENET_PACKET_FLAG_RELIABLE : 0);
        if (packet == nullptr) return;
        // A packet ENet did not take is still ours to free.
        if (enet_peer_send(Peer, reliable ? 0 : 1, packet) != 0) {
            enet_packet_destroy(packet);
            return;
        }
        // Out at once: the partner may be waiting for exactly this input.
        enet_host_flush(Host);
    }

    bool Poll(TNetEvent& event, uint32_t waitMs) override {
        event = TNetEvent{};
        ENetEvent e{};
        while (enet_host_service(Host, &e, waitMs) > 0) {
            waitMs = 0;
            switch (e.type) {
            case ENET_EVENT_TYPE_CONNECT:
                // A second partner is turned away: one match has two players.
                if (Peer != nullptr && Peer != e.peer) {
                    enet_peer_disconnect_now(e.peer, 0);
                    continue;
                }
                Peer = e.peer;
                event.Type = TNetEvent::Connected;
                return true;
            case ENET_EVENT_TYPE_RECEIVE: {
                const bool ours = e.peer == Peer;
                if (ours) event.Bytes.assign(e.packet->data, e.packet->data + e.packet->dataLength);
                enet_packet_destroy(e.packet);
                if (!ours) continue;
                event.Type = TNetEvent::Received;
                return true;
            }
            case ENET_EVENT_TYPE_DISCONNECT:
                if (e.peer != Peer) continue;
                Peer = nullptr;
                event.Type = TNetEvent::Disconnected;
                return true;
            case ENET_EVENT_TYPE_NONE:
                break;
            }
        }
        return false;
    }

    void Disconnect() override {
        if (Peer == nullptr) return;
        enet_peer_disconnect_later(Peer, 0);
        // A short while for the reliable messages and the goodbye to leave.
        ENetEvent e{};
        for (int i = 0; i < 30 && enet_host_service(Host, &e, 10) >= 0; ++i) {
            if (e.type == ENET_EVENT_TYPE_RECEIVE) enet_packet_destroy(e.packet);
            if (e.type == ENET_EVENT_TYPE_DISCONNECT) break;
            e = ENetEvent{};
        }
        if (Peer != nullptr && Peer->state != ENET_PEER_STATE_DISCONNECTED) enet_peer_reset(Peer);
        Peer = nullptr;
    }
};

} // namespace

std::unique_ptr<TNetTransport> ListenOnPort(uint16_t& port, std::string& error) {
    auto t = std::make_unique<TEnetTransport>();
    ENetAddress address{};
    address.host = ENET_HOST_ANY;
    address.port = port;
    if (t->Initialised) t->Host = enet_host_create(&address, 2, ChannelCount, 0, 0);
    if (t->Host == nullptr) {
        error = "cannot listen on port " + std::to_string(port) + " (is another game hosting there?)";
        return nullptr;
    }
    if (enet_socket_get_address(t->Host->socket, &address) == 0) port = address.port;
    return t;
}

std::unique_ptr<TNetTransport> ConnectToHost(const std::string& host, uint16_t port, std::string& error) {
    auto t = std::make_unique<TEnetTransport>();
    ENetAddress address{};
    address.port = port;
    if (!t->Initialised || enet_address_set_host(&address, host.c_str()) != 0) {
        error = "cannot find the host " + host;
        return nullptr;
    }
    t->Host = enet_host_create(nullptr, 1, ChannelCount, 0, 0);
    if (t->Host != nullptr) t->Peer = enet_host_connect(t->Host, &address, ChannelCount, 0);
    // A host that does not answer is given up after about ten seconds, not ENet's thirty.
    if (t->Peer != nullptr) enet_peer_timeout(t->Peer, 0, 5000, 10000);
    if (t->Peer == nullptr) {
        error = "cannot connect to " + host + ":" + std::to_string(port);
        return nullptr;
    }
    return t;
}
