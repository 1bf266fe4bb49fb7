// MemoryTransport: the two ends of an in-memory line.
#include "net/MemoryTransport.h"

#include <algorithm>

bool TMemoryLine::Lose() {
    Random = Random * 1103515245u + 12345u;
    return (Random >> 16) % 1000 < LossPerMille;
}

void TMemoryLine::Carry(int to, TNetEvent event, bool reliable) {
    ++Sent;
    uint64_t at = Now + RoundTripMs / 2;
    if (reliable) {
        while (Lose())
            at += RoundTripMs, ++Lost;
        at = std::max(at, LastReliable[size_t(to)]);
        LastReliable[size_t(to)] = at;
    } else if (Lose()) {
        ++Lost;
        return;
    }
    // Kept in order of arrival; messages that arrive together keep the order they were sent in.
    std::deque<TFlight>& queue = ToSide[size_t(to)];
    const auto place = std::upper_bound(queue.begin(), queue.end(), at,
                                        [](uint64_t t, const TFlight& f) { return t < f.ArrivesAt; });
    queue.insert(place, TFlight{at, std::move(event)});
}

namespace {

class TMemoryEnd final : public TNetTransport {
  public:
    TMemoryEnd(std::shared_ptr<TMemoryLine> line, int end) : Line(std::move(line)), End(end) {}
    std::shared_ptr<TMemoryLine> Line;
    int End = 0;
    bool Greeted = false;

    void Send(const std::vector<uint8_t>& bytes, bool reliable) override {
        if (!Line->Open[size_t(End)]) return;
        Line->Carry(1 - End, TNetEvent{TNetEvent::Received, bytes}, reliable);
    }
    bool Poll(TNetEvent& event, uint32_t) override {
        if (!Greeted) {
            Greeted = true;
            event = TNetEvent{TNetEvent::Connected, {}};
            return true;
        }
        std::deque<TMemoryLine::TFlight>& queue = Line->ToSide[size_t(End)];
        if (queue.empty() || queue.front().ArrivesAt > Line->Now) return false;
        event = std::move(queue.front().Event);
        queue.pop_front();
        return true;
    }
    void Disconnect() override {
        Line->Open[size_t(End)] = false;
        Line->Carry(1 - End, TNetEvent{TNetEvent::Disconnected, {}}, true);
    }
};

} // namespace

std::unique_ptr<TNetTransport> MemoryEnd(const std::shared_ptr<TMemoryLine>& line, int end) {
    return std::make_unique<TMemoryEnd>(line, end);
}
